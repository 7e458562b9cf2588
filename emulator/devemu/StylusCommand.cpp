// stylus: the device's stylus switch, which reports through the registry value "StylusOutStatus"
// under HKEY_CURRENT_USER "ControlPanel\Keybd" (0: in its silo).
#include <windows.h>

#include <optional>
#include <vector>

#include "Command.h"

namespace devemu {
namespace {

constexpr wchar_t kKeyPath[] = L"ControlPanel\\Keybd";
constexpr wchar_t kStylusValue[] = L"StylusOutStatus";
// Any other value under the key: its change signals a watch on the key as well.
constexpr wchar_t kTouchValue[] = L"DevemuTouch";

void WriteValue(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                  &key, nullptr);
    if (status == ERROR_SUCCESS) {
        status = RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }
    if (status != ERROR_SUCCESS) {
        throw CommandError{1, "cannot write HKCU\\ControlPanel\\Keybd\\" + Narrow(name) + " (error " +
                                  std::to_string(status) + ")"};
    }
}

// The value as a REG_DWORD of 4 bytes, or nullopt.
std::optional<DWORD> ReadDword(const wchar_t* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return std::nullopt;
    DWORD value = 0, type = 0, size = sizeof value;
    const LONG status = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) return std::nullopt;
    return value;
}

// The phone reports every write of the value; Wine reports none for data the value already has,
// so an equal value is removed first and the write is seen.
void WriteStylus(DWORD out) {
    if (ReadDword(kStylusValue) == out) RegDeleteKeyValueW(HKEY_CURRENT_USER, kKeyPath, kStylusValue);
    WriteValue(kStylusValue, REG_DWORD, &out, sizeof out);
}

struct TypeWord {
    const wchar_t* word;
    DWORD type;
};

constexpr TypeWord kTypes[] = {
    {L"sz", REG_SZ}, {L"binary", REG_BINARY}, {L"dword", REG_DWORD}, {L"qword", REG_QWORD}};

// "stylus raw <type> <data>": a string for sz, else the bytes as hexadecimal digit pairs.
int WriteRaw(const Args& args) {
    if (args.size() != 4) Usage(args.size() < 4 ? "raw needs a type and data" : "too many arguments");
    DWORD type = REG_NONE;
    bool named = false;
    for (const TypeWord& t : kTypes) {
        if (args[2] == t.word) {
            type = t.type;
            named = true;
        }
    }
    if (!named) type = ParseU32(args[2], "value type");
    const std::wstring& data = args[3];
    std::vector<BYTE> bytes;
    if (type == REG_SZ) {
        const auto* text = reinterpret_cast<const BYTE*>(data.c_str());
        bytes.assign(text, text + (data.size() + 1) * sizeof(wchar_t));
    } else {
        if (data.size() % 2 != 0) Usage("data needs whole bytes: pairs of hexadecimal digits");
        for (size_t i = 0; i < data.size(); i += 2) {
            bytes.push_back(static_cast<BYTE>(ParseHex32(data.substr(i, 2), "data byte")));
        }
    }
    LogConsole(args);
    WriteValue(kStylusValue, type, bytes.data(), static_cast<DWORD>(bytes.size()));
    return 0;
}

}  // namespace

// Only a stylus that is not in already is written: a reset by another test program of the prefix
// then leaves a watch on the key alone.
void ResetStylus() {
    if (ReadDword(kStylusValue) != 0u) WriteStylus(0);
}

std::string StylusState() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return "no-key";
    const LONG status = RegQueryValueExW(key, kStylusValue, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    if (status == ERROR_FILE_NOT_FOUND) return "missing";
    const std::optional<DWORD> value = ReadDword(kStylusValue);
    if (!value) return "malformed";
    return *value == 0 ? "in" : "out";
}

int CmdStylus(const Args& args, Io&) {
    if (args.size() < 2) Usage("missing what the stylus does");
    const std::wstring& what = args[1];
    if (what == L"raw") return WriteRaw(args);
    if (args.size() != 2) Usage("too many arguments");
    if (what == L"in" || what == L"out") {
        LogConsole(args);
        WriteStylus(what == L"out" ? 1 : 0);
    } else if (what == L"touch") {
        LogConsole(args);
        const DWORD count = ReadDword(kTouchValue).value_or(0) + 1;  // a new value every time
        WriteValue(kTouchValue, REG_DWORD, &count, sizeof count);
    } else {
        Usage("unknown stylus action \"" + Narrow(what) + "\"");
    }
    return 0;
}

}  // namespace devemu
