// The phone's shell as a process of its own, like the phone's shell process: the navigation bar
// and the input guard, until it is told to stop. The programs' processes carry none of it.
#pragma once

#include <string>

namespace devemu {

// `devemu shell run`: the shell itself, until `shell stop`. Returns the exit code.
int RunPhoneShell(std::string& error);
// Starts `devemu.exe shell run` for this device and waits until it is up; true when one already
// runs. False with `error` set when it could not start.
bool StartPhoneShell(std::string& error);
// Tells the device's shell to end and waits until it has; true also when none ran.
bool StopPhoneShell(std::string& error);
bool PhoneShellRunning();

}  // namespace devemu
