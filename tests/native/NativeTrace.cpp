// The trace of the native build: the program's own writes through the platform, which this build
// does not have. The sanitizer runs look at what the code computes, not at what it traces.
#include "app/Trace.h"

void Trace(const char*, ...) {}

TraceSink SetTraceSink(TraceSink) { return nullptr; }
