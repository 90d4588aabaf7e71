// Bounded text copies shared by every room: texts from units and from the
// operator go into fixed-size buffers, never past them and never ending
// inside a UTF-8 character.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdlib>
#include <cstring>

// The longest prefix of the n bytes at text that fits `room` bytes and does
// not end inside a multibyte character.
inline size_t utf8_fit(const char* text, size_t n, size_t room)
{
    if (n <= room) return n;
    size_t cut = room;
    // Step back over continuation bytes to the start of the cut character.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) cut--;
    return cut;
}

// Copies at most srclen bytes of src (fewer when a zero byte comes first)
// into dst, at most dstsize - 1 of them, and terminates dst. Returns the
// bytes copied.
inline size_t copy_text_n(char* dst, size_t dstsize, const char* src, size_t srclen)
{
    if (dst == nullptr || dstsize == 0) return 0;
    size_t n = 0;
    if (src != nullptr)
        while (n < srclen && src[n] != '\0') n++;
    n = utf8_fit(src, n, dstsize - 1);
    if (n > 0) std::memcpy(dst, src, n);
    dst[n] = '\0';
    return n;
}

// Copies as much of src as fits in dstsize - 1 bytes and terminates dst.
inline size_t copy_text(char* dst, size_t dstsize, const char* src)
{
    return copy_text_n(dst, dstsize, src, src != nullptr ? std::strlen(src) : 0);
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

// The value of one hexadecimal digit (either case), -1 for any other character.
inline int hex_digit_value(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
