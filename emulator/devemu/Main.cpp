// devemu: the console of the emulated phone. Each call acts on the device and exits.
#include <cstdio>

#include <fcntl.h>
#include <io.h>

#include "Console.h"

int wmain(int argc, wchar_t** argv) {
    // Plain "\n" line ends, as scripts reading the output expect.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    devemu::Args args(argv + 1, argv + argc);
    devemu::Io io;
    int code = devemu::RunConsole(args, io);
    std::fwrite(io.out.data(), 1, io.out.size(), stdout);
    std::fwrite(io.err.data(), 1, io.err.size(), stderr);
    return code;
}
