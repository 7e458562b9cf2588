// dialog: the message boxes on the screen, read and answered the way a user would.
#include <windows.h>

#include "Command.h"
#include "Device.h"

namespace devemu {
namespace {

// The static control that holds a message box's text.
constexpr int kMessageTextId = 0xFFFF;

struct Box {
    HWND window;
    std::wstring caption;
};

struct Answer {
    const wchar_t* word;
    int id;
    const char* button;  // as messages name it
};

constexpr Answer kAnswers[] = {
    {L"yes", IDYES, "a Yes"},
    {L"no", IDNO, "a No"},
    {L"ok", IDOK, "an OK"},
    {L"cancel", IDCANCEL, "a Cancel"},
};

// The box may belong to another process; Wine then reads the text the server keeps, so a
// busy owner cannot stall us. The buffer grows until the text fits.
std::wstring WindowText(HWND window) {
    std::wstring text(256, L'\0');
    for (;;) {
        int n = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
        if (n < static_cast<int>(text.size()) - 1) {
            text.resize(n > 0 ? static_cast<size_t>(n) : 0);
            return text;
        }
        text.assign(text.size() * 2, L'\0');
    }
}

bool IsDialogClass(HWND window) {
    wchar_t name[16];
    return GetClassNameW(window, name, 16) > 0 && std::wstring(name) == L"#32770";
}

// Visible top-level dialogs, front to back.
std::vector<Box> OpenBoxes() {
    std::vector<Box> boxes;
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            if (IsWindowVisible(window) && IsDialogClass(window)) {
                reinterpret_cast<std::vector<Box>*>(param)->push_back({window, WindowText(window)});
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&boxes));
    return boxes;
}

// One line per box: line breaks become the two characters \n so that a box stays one line.
std::string OneLine(const std::wstring& text) {
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
        if (text[i] == L'\r' || text[i] == L'\n') out += L"\\n";
        else out += text[i];
    }
    return Narrow(out);
}

int List(const Args& args, Io& io) {
    if (args.size() != 2) Usage("too many arguments");
    for (const Box& box : OpenBoxes()) {
        HWND text = GetDlgItem(box.window, kMessageTextId);
        io.out += "caption=\"" + OneLine(box.caption) + "\" text=\"" +
                  OneLine(text ? WindowText(text) : std::wstring()) + "\"\n";
    }
    return 0;
}

int Respond(const Args& given, Io& io) {
    Args args = given;
    const auto caption = TakeOption(args, L"--caption");
    const auto wait = TakeOption(args, L"--wait");
    if (args.size() < 3) Usage("missing answer");
    if (args.size() > 3) Usage("too many arguments");
    const Answer* answer = nullptr;
    for (const Answer& a : kAnswers) {
        if (args[2] == a.word) answer = &a;
    }
    if (!answer) Usage("unknown answer \"" + Narrow(args[2]) + "\"");
    const uint32_t limit = wait ? ParseU32(*wait, "--wait") : 5000;

    const uint32_t start = HostTick();
    for (;;) {
        for (const Box& box : OpenBoxes()) {
            if (caption && box.caption != *caption) continue;
            HWND button = GetDlgItem(box.window, answer->id);
            if (!button || !IsWindowVisible(button)) continue;
            LogConsole(given);
            // A real click: the box's own thread runs the button, which ends the box as if
            // the user had tapped it.
            SendMessageW(button, BM_CLICK, 0, 0);
            const std::string line = "dialog caption=\"" + OneLine(box.caption) +
                                     "\" answer=" + Narrow(answer->word);
            Device::Get().Log("%s", line.c_str());
            io.out += line + "\n";
            return 0;
        }
        if (HostTick() - start >= limit) break;
        Sleep(10);
    }
    std::string which = caption ? "titled \"" + Narrow(*caption) + "\" " : std::string();
    throw CommandError{1, "no message box " + which + "with " + answer->button +
                              " button within " + std::to_string(limit) + " ms"};
}

}  // namespace

int CmdDialog(const Args& args, Io& io) {
    if (args.size() < 2) Usage("missing dialog command");
    if (args[1] == L"list") return List(args, io);
    if (args[1] == L"answer") return Respond(args, io);
    Usage("unknown dialog command \"" + Narrow(args[1]) + "\"");
}

}  // namespace devemu
