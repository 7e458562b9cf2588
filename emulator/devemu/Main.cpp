// devemu: the console of the emulated phone. Each call acts on the device and exits.
#include <cstdio>

#include "Console.h"

int wmain(int argc, wchar_t** argv) {
    devemu::Args args(argv + 1, argv + argc);
    devemu::Io io;
    int code = devemu::RunConsole(args, io);
    std::fwrite(io.out.data(), 1, io.out.size(), stdout);
    std::fwrite(io.err.data(), 1, io.err.size(), stderr);
    return code;
}
