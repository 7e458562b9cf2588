#include "Console.h"

#include <cwchar>
#include <cwctype>

#include "Command.h"
#include "Device.h"

namespace devemu {
namespace {

const Command kCommands[] = {
    {L"reset", "reset", CmdReset},
    {L"state", "state", CmdState},
    {L"log", "log [--since N]", CmdLog},
    {L"wait", "wait <text> [--timeout MS] [--since N]", CmdWait},
    {L"clock", "clock <ms> | clock advance <ms> | clock hold | clock run", CmdClock},
    {L"post", "post show-settings|disable|enable|lock <word>", CmdPost},
    {L"dialog", "dialog list | dialog answer yes|no|ok|cancel [--caption TEXT] [--wait MS]",
     CmdDialog},
    {L"screenshot", "screenshot <file.png> [--window TITLE | --screen]   (the whole display, a window, or the "
     "phone's screen with its bars)", CmdScreenshot},
    {L"shell",
     "shell start|stop|run | shell refuse-add|refuse-remove|refuse-menubar|accept   (start: the phone's "
     "bars and input guard, a process of their own)",
     CmdShell},
    {L"tap", "tap <x> <y> | tap --text TEXT   (a touch on the screen, or on the control showing TEXT)",
     CmdTap},
    {L"key",
     "key <key> [<key> ...]   (left-soft|right-soft|up|down|left|right|action|back|talk|end, f1..f4, or a "
     "virtual key)",
     CmdKey},
    {L"power", "power resume|backlight-off|screen-off|unattended|suspend | power flags <hex> [name] | power status",
     CmdPower},
    {L"ac", "ac online|offline|backup|unknown", CmdAc},
    {L"stylus", "stylus in|out | stylus raw sz|binary|dword|qword|<type> <data> | stylus touch", CmdStylus},
    {L"call",
     "call incoming [--inactive] [--data] | call connect [--mode N] | call disconnect [--mode N] | "
     "call state <hex> <mode>",
     CmdCall},
    {L"tapi", "tapi ok|fail-init|no-cellular", CmdTapi},
    {L"touch", "touch absent|present", CmdTouch},
    {L"leds", "leds <n>", CmdLeds},
    {L"tilt", "tilt <rotation> [<tilt>]   (degrees 0..359, rotation 0 face up; tilt 0 if left out)",
     CmdTilt},
    {L"turn", "turn <deg> [<deg> ...] [--rate DEG_PER_S]   (signed, one after the other; rate 180)",
     CmdTurn},
    {L"sensor", "sensor ok|fail-open|fail-read", CmdSensor},
    {L"window", "window   (the device window: power, charger, stylus, calls and the sensor at hand, the state live)",
     CmdWindow},
};

// Per thread: the device window runs long commands on a worker while its own thread runs others.
thread_local const Command* current = nullptr;

std::string AllUsage() {
    std::string text = "usage: devemu <command>, one of:";
    for (const Command& c : kCommands) text += std::string("\n  devemu ") + c.usage;
    return text;
}

}  // namespace

[[noreturn]] void Usage(const std::string& detail) {
    std::string message;
    if (!detail.empty()) message = detail + "\n";
    message += current ? std::string("usage: devemu ") + current->usage : AllUsage();
    throw CommandError{2, message};
}

std::string Narrow(const std::wstring& text) { return Utf8(text); }

uint32_t ParseU32(const std::wstring& text, const char* what) {
    int64_t value = ParseI64(text, what);
    if (value < 0 || value > 0xFFFFFFFFLL) Usage(std::string(what) + " out of range: " + Narrow(text));
    return static_cast<uint32_t>(value);
}

int64_t ParseI64(const std::wstring& text, const char* what) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
    int base = 10;
    if (text.size() - i > 2 && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size()) Usage(std::string("not a number for ") + what + ": \"" + Narrow(text) + "\"");
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        wchar_t c = text[i];
        int digit;
        if (c >= L'0' && c <= L'9') digit = c - L'0';
        else if (base == 16 && std::iswxdigit(c)) digit = 10 + (std::towlower(c) - L'a');
        else Usage(std::string("not a number for ") + what + ": \"" + Narrow(text) + "\"");
        value = value * base + digit;
        if (value > 0xFFFFFFFFFFLL) Usage(std::string(what) + " out of range: " + Narrow(text));
    }
    return negative ? -value : value;
}

uint32_t ParseHex32(const std::wstring& text, const char* what) {
    const size_t start = text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X') ? 2 : 0;
    const size_t digits = text.size() - start;
    bool hex = digits > 0 && digits <= 8;
    for (size_t i = start; hex && i < text.size(); ++i) hex = std::iswxdigit(text[i]);
    if (!hex) Usage(std::string("not a hexadecimal number for ") + what + ": \"" + Narrow(text) + "\"");
    return static_cast<uint32_t>(std::wcstoul(text.c_str() + start, nullptr, 16));
}

std::optional<std::wstring> TakeOption(Args& args, const wchar_t* name) {
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] != name) continue;
        if (i + 1 >= args.size()) Usage(Narrow(name) + " needs a value");
        std::wstring value = args[i + 1];
        args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
        return value;
    }
    return std::nullopt;
}

bool TakeFlag(Args& args, const wchar_t* name) {
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == name) {
            args.erase(args.begin() + static_cast<long>(i));
            return true;
        }
    }
    return false;
}

void LogConsole(const Args& args) {
    std::wstring line = L"console";
    for (const std::wstring& a : args) {
        line += L' ';
        if (a.empty() || a.find(L' ') != std::wstring::npos) line += L'"' + a + L'"';
        else line += a;
    }
    Device::Get().Log("%s", Utf8(line).c_str());
}

int RunConsole(const Args& args, Io& io) {
    current = nullptr;
    try {
        if (args.empty()) Usage();
        for (const Command& c : kCommands) {
            if (args[0] == c.name) current = &c;
        }
        if (!current) Usage("unknown command \"" + Narrow(args[0]) + "\"");
        return current->run(args, io);
    } catch (const CommandError& e) {
        io.err += "devemu: " + e.message + "\n";
        return e.code;
    }
}

}  // namespace devemu
