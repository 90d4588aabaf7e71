// Bounded text helpers of the device code.
#pragma once

#include <climits>
#include <cstdlib>
#include <cstring>

// Copies at most size-1 bytes of src into dst and always terminates it.
inline void copy_text(char* dst, int size, const char* src)
{
    if (dst == nullptr || size <= 0) return;
    int n = 0;
    if (src != nullptr)
        while (n < size - 1 && src[n] != '\0') {
            dst[n] = src[n];
            n++;
        }
    dst[n] = '\0';
}

// A decimal number as the units write it ("8000", " 12", "-3"): the leading
// number of the text, 0 without one, clamped to the range of int.
inline int decimal_value(const char* text)
{
    if (text == nullptr) return 0;
    long v = std::strtol(text, nullptr, 10);
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}
