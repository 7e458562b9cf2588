// post: the program's four thread messages, sent to the thread named by "ThreadId".
#include <windows.h>

#include "Command.h"
#include "app/ThreadMessages.h"

namespace devemu {
namespace {

DWORD PublishedThreadId() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Brackwater\\Varnel", 0, KEY_QUERY_VALUE,
                      &key) != ERROR_SUCCESS) {
        throw CommandError{2, "no \"ThreadId\": there is no key HKCU\\Software\\Brackwater\\Varnel (the program has never started)"};
    }
    DWORD id = 0, type = 0, size = sizeof id;
    LONG status = RegQueryValueExW(key, L"ThreadId", nullptr, &type,
                                   reinterpret_cast<BYTE*>(&id), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof id) {
        throw CommandError{2, "no REG_DWORD \"ThreadId\" under HKCU\\Software\\Brackwater\\Varnel: the program has never started"};
    }
    return id;
}

}  // namespace

int CmdPost(const Args& args, Io&) {
    if (args.size() < 2) Usage("missing message name");
    UINT message = 0;
    WPARAM word = 0;
    const std::wstring& name = args[1];
    size_t expected = 2;
    if (name == L"show-settings") message = WM_APP_SHOW_SETTINGS;
    else if (name == L"disable") message = WM_APP_DISABLE;
    else if (name == L"enable") message = WM_APP_ENABLE;
    else if (name == L"lock") {
        message = WM_APP_LOCK_COMMAND;
        expected = 3;
        if (args.size() < 3) Usage("lock needs a command word");
        word = ParseU32(args[2], "command word");
    } else {
        Usage("unknown message \"" + Narrow(name) + "\"");
    }
    if (args.size() != expected) Usage("too many arguments");

    const DWORD thread = PublishedThreadId();
    LogConsole(args);
    if (!PostThreadMessageW(thread, message, word, 0)) {
        throw CommandError{1, "cannot post to thread " + std::to_string(thread) + " (error " +
                                  std::to_string(GetLastError()) + "): the program is not running"};
    }
    return 0;
}

}  // namespace devemu
