#include "AppGlobals.h"

HINSTANCE AppInstance = nullptr;
int AppShowCommand = SW_SHOWNORMAL;
HICON AppIcon = nullptr;
