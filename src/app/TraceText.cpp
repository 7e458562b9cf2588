#include "TraceText.h"

namespace {

// Appends to a buffer and drops what does not fit, keeping room for the terminator.
class TextWriter {
public:
    TextWriter(char* out, size_t size) : next_(out), last_(out + size - 1), start_(out) {}

    void Put(char c) {
        if (next_ < last_) *next_++ = c;
    }
    void Repeat(char c, int count) {
        for (int i = 0; i < count; ++i) Put(c);
    }
    size_t Finish() {
        *next_ = '\0';
        return static_cast<size_t>(next_ - start_);
    }

private:
    char* next_;
    char* const last_;
    char* const start_;
};

// A number right-aligned in `width`; with zero padding a minus sign goes before the zeros.
void PutNumber(TextWriter& text, unsigned value, bool negative, unsigned base, bool upper, char pad,
               int width) {
    const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    char reversed[10];  // 4294967295 has ten digits
    int count = 0;
    do {
        reversed[count++] = digits[value % base];
        value /= base;
    } while (value != 0);
    const int padding = width - count - (negative ? 1 : 0);
    if (pad == ' ') text.Repeat(' ', padding);
    if (negative) text.Put('-');
    if (pad == '0') text.Repeat('0', padding);
    while (count > 0) text.Put(reversed[--count]);
}

}  // namespace

size_t FormatTraceText(char* out, size_t size, const char* format, va_list args) {
    if (size == 0) return 0;
    TextWriter text(out, size);
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p != '%') {
            text.Put(*p);
            continue;
        }
        const char* const conversion = p;
        char pad = ' ';
        if (p[1] == '0') {
            pad = '0';
            ++p;
        }
        int width = 0;
        while (p[1] >= '0' && p[1] <= '9') {
            if (width < 1000) width = width * 10 + (p[1] - '0');  // wider makes no trace
            ++p;
        }
        switch (*++p) {
        case 'd':
        case 'i': {
            const int value = va_arg(args, int);
            // Negated as unsigned, so the most negative int keeps its digits.
            const unsigned bits = static_cast<unsigned>(value);
            const unsigned magnitude = value < 0 ? 0u - bits : bits;
            PutNumber(text, magnitude, value < 0, 10, false, pad, width);
            break;
        }
        case 'u': PutNumber(text, va_arg(args, unsigned), false, 10, false, pad, width); break;
        case 'x': PutNumber(text, va_arg(args, unsigned), false, 16, false, pad, width); break;
        case 'X': PutNumber(text, va_arg(args, unsigned), false, 16, true, pad, width); break;
        case 'c':
            text.Repeat(' ', width - 1);
            text.Put(static_cast<char>(va_arg(args, int)));
            break;
        case 's': {
            const char* s = va_arg(args, const char*);
            if (!s) s = "(null)";
            int length = 0;
            while (s[length] != '\0') ++length;
            text.Repeat(' ', width - length);
            for (int i = 0; i < length; ++i) text.Put(s[i]);
            break;
        }
        case '%': text.Put('%'); break;
        default:  // not one of ours, or the format ends: copied as it stands
            for (const char* c = conversion; c <= p && *c != '\0'; ++c) text.Put(*c);
            if (*p == '\0') return text.Finish();
            break;
        }
    }
    return text.Finish();
}
