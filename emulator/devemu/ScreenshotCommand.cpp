#include "Command.h"
namespace devemu {
int CmdScreenshot(const Args&, Io&) { Usage("not yet"); }
}
