// What the fuzz targets share: reading arguments from the front of an input,
// a check that stops the run with the broken property named, and the UTF-8
// rules the bounded copies keep.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#define FUZZ_CHECK(cond)                                                              \
    do {                                                                              \
        if (!(cond)) {                                                                \
            std::fprintf(stderr, "property broken: %s (%s:%d)\n", #cond, __FILE__, __LINE__); \
            std::abort();                                                             \
        }                                                                             \
    } while (0)

// Takes arguments from the front of the input; what is left is the payload.
struct FuzzInput {
    const uint8_t* data;
    size_t size;

    uint8_t byte()
    {
        if (size == 0) return 0;
        size--;
        return *data++;
    }
    int int32()
    {
        uint32_t v = 0;
        for (int k = 0; k < 4; k++) v = (v << 8) | byte();
        return static_cast<int>(v);
    }
    // The rest as a heap block of exactly its size, so a read past it is caught.
    std::vector<uint8_t> rest()
    {
        std::vector<uint8_t> v(data, data + size);
        data += size;
        size = 0;
        return v;
    }
    // The rest up to its first zero byte as a terminated text (zero byte dropped).
    std::vector<char> text()
    {
        size_t n = 0;
        while (n < size && data[n] != 0) n++;
        std::vector<char> t(data, data + n);
        t.push_back('\0');
        data += n < size ? n + 1 : n;
        size -= n < size ? n + 1 : n;
        return t;
    }
};

inline bool is_continuation(uint8_t b) { return (b & 0xC0) == 0x80; }

// 1 when the n bytes are whole UTF-8 characters (the lead byte and the count
// of continuation bytes agree; overlong forms are not looked at).
inline bool whole_utf8(const char* s, size_t n)
{
    size_t i = 0;
    while (i < n) {
        uint8_t b = static_cast<uint8_t>(s[i]);
        size_t len = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
        if (len == 0 || i + len > n) return false;
        for (size_t k = 1; k < len; k++)
            if (!is_continuation(static_cast<uint8_t>(s[i + k]))) return false;
        i += len;
    }
    return true;
}
