// The trace texts formatted without the C runtime's printf engine, which would weigh more than
// the program's own code. Only what the traces use: %d %u %x %X %c %s and %%, each with an
// optional 0 flag and width.
#pragma once

#include <cstdarg>
#include <cstddef>

// Writes the text into `out`, cut at size - 1 characters and always terminated (nothing is
// written when size is 0), and returns the length written. Any other conversion is copied as it
// stands and takes no argument.
size_t FormatTraceText(char* out, size_t size, const char* format, va_list args);
