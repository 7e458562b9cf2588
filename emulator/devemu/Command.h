// What the console's command files share: argument parsing, errors and the command table.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

#include "Console.h"

namespace devemu {

// Ends a command with an exit code and a one-line message.
struct CommandError {
    int code;
    std::string message;
};

// Bad arguments: the command's usage line and exit code 2.
[[noreturn]] void Usage(const std::string& detail = {});

// Whole-string numbers: decimal, or hexadecimal after "0x". Throw Usage on anything else.
uint32_t ParseU32(const std::wstring& text, const char* what);
int64_t ParseI64(const std::wstring& text, const char* what);
// Hexadecimal, with or without "0x", at most 8 digits. Throws Usage on anything else.
uint32_t ParseHex32(const std::wstring& text, const char* what);

// Takes "--name value" out of args (from index `from` on); nullopt when absent.
std::optional<std::wstring> TakeOption(Args& args, const wchar_t* name);
bool TakeFlag(Args& args, const wchar_t* name);

// Writes "console <args as given>" to the device log.
void LogConsole(const Args& args);

std::string Narrow(const std::wstring& text);

struct Command {
    const wchar_t* name;
    const char* usage;  // after "devemu "
    int (*run)(const Args& args, Io& io);  // args[0] is the command name
};

// Command groups, one per file.
int CmdReset(const Args&, Io&);
int CmdState(const Args&, Io&);
int CmdLog(const Args&, Io&);
int CmdWait(const Args&, Io&);
int CmdClock(const Args&, Io&);
int CmdPost(const Args&, Io&);
int CmdDialog(const Args&, Io&);
int CmdScreenshot(const Args&, Io&);
int CmdShell(const Args&, Io&);
int CmdTap(const Args&, Io&);
int CmdKey(const Args&, Io&);
int CmdPower(const Args&, Io&);
int CmdAc(const Args&, Io&);
int CmdStylus(const Args&, Io&);
int CmdCall(const Args&, Io&);
int CmdTapi(const Args&, Io&);

// The registry's part of a fresh device: the stylus in its silo.
void ResetStylus();

// Values of "state" that belong to the services, kept with their commands.
struct DeviceState;
struct TouchState;
std::string AcLineWord(uint8_t line);  // offline, online, backup, unknown
std::string PanelState(const TouchState& touch);  // locked, free, unregistered
std::string StylusState();             // in, out, malformed, missing, no-key
std::string CallState(const DeviceState& s);
std::string TapiModeWord(const DeviceState& s);
int CmdTouch(const Args&, Io&);
int CmdLeds(const Args&, Io&);
int CmdTilt(const Args&, Io&);
int CmdTurn(const Args&, Io&);
int CmdSensor(const Args&, Io&);
int CmdWindow(const Args&, Io&);

}  // namespace devemu
