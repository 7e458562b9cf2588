// Debugging output at the program's decision points. A release build emits nothing unless a
// sink is installed (tests install one to read the decisions back).
#pragma once

using TraceSink = void (*)(const char* text);

void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Whether a sink is installed: a text whose arguments cost something to put together is put
// together only then.
bool Tracing();

// Installs a sink (null: back to the build's default) and returns the previous one.
TraceSink SetTraceSink(TraceSink sink);
