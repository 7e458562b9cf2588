// key: a press of one of the phone's hardware keys, by the name WM6 gives it or as a virtual key.
#include <algorithm>
#include <cwctype>
#include <iterator>
#include <vector>

#include <windows.h>

#include "Command.h"

namespace devemu {
namespace {

struct KeyName {
    const wchar_t* name;
    WORD key;
};

constexpr KeyName kKeys[] = {
    {L"left-soft", VK_F1}, {L"right-soft", VK_F2}, {L"up", VK_UP},       {L"down", VK_DOWN},
    {L"left", VK_LEFT},    {L"right", VK_RIGHT},   {L"action", VK_RETURN}, {L"back", VK_ESCAPE},
    {L"talk", VK_F3},      {L"end", VK_F4},
};

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

}  // namespace

int CmdKey(const Args& args, Io&) {
    if (args.size() < 2) Usage("missing key");
    std::vector<WORD> keys;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::wstring name = Lower(args[i]);
        const auto* known = std::find_if(std::begin(kKeys), std::end(kKeys), [&](const KeyName& k) { return name == k.name; });
        WORD key = 0;
        if (known != std::end(kKeys)) key = known->key;
        else if (name.size() == 2 && name[0] == L'f' && name[1] >= L'1' && name[1] <= L'4') key = static_cast<WORD>(VK_F1 + name[1] - L'1');
        else key = static_cast<WORD>(ParseU32(name, "virtual key"));
        if (key == 0 || key > 0xFE) Usage("a virtual key is 1..254: " + Narrow(args[i]));
        keys.push_back(key);
    }
    LogConsole(args);
    for (WORD key : keys) {
        INPUT input[2] = {};
        for (INPUT& i : input) {
            i.type = INPUT_KEYBOARD;
            i.ki.wVk = key;
        }
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof(INPUT));
    }
    return 0;
}

}  // namespace devemu
