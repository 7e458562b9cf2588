// The device console: the commands a user or a test plays the emulated phone with.
#pragma once

#include <string>
#include <vector>

namespace devemu {

using Args = std::vector<std::wstring>;

struct Io {
    std::string out;
    std::string err;
};

// Runs one console command (args without the program name). Returns the exit code:
// 0 done, 1 the command could not do what it was asked, 2 bad arguments.
int RunConsole(const Args& args, Io& io);

}  // namespace devemu
