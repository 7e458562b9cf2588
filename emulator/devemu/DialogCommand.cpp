#include "Command.h"
namespace devemu {
int CmdDialog(const Args&, Io&) { Usage("not yet"); }
}
