#include "Trace.h"

#include <atomic>
#include <cstdarg>

#include "TraceText.h"

#ifdef VARNEL_TRACE
#include <windows.h>
#endif

namespace {

#ifdef VARNEL_TRACE
void DebuggerSink(const char* text) { OutputDebugStringA(text); }
constexpr TraceSink kDefaultSink = DebuggerSink;
#else
constexpr TraceSink kDefaultSink = nullptr;
#endif

std::atomic<TraceSink> sink{kDefaultSink};

}  // namespace

void Trace(const char* format, ...) {
    TraceSink target = sink.load(std::memory_order_relaxed);
    if (!target) return;
    char text[256];
    va_list args;
    va_start(args, format);
    FormatTraceText(text, sizeof text, format, args);
    va_end(args);
    target(text);
}

bool Tracing() { return sink.load(std::memory_order_relaxed) != nullptr; }

TraceSink SetTraceSink(TraceSink newSink) {
    return sink.exchange(newSink ? newSink : kDefaultSink);
}
