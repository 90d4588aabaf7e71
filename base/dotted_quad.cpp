#include "base/dotted_quad.h"

#include <arpa/inet.h>
#include <cstring>

int is_dotted_quad(const char* text)
{
    if (text == nullptr) return 0;
    size_t n = std::strlen(text);
    while (n > 0 && text[n - 1] == ' ') n--;
    // "255.255.255.255" is the longest address text.
    if (n == 0 || n > 15) return 0;

    int parts = 0;
    size_t i = 0;
    while (i < n) {
        size_t start = i;
        int value = 0;
        while (i < n && text[i] >= '0' && text[i] <= '9') {
            value = value * 10 + (text[i] - '0');
            i++;
            if (i - start > 3) return 0;
        }
        size_t digits = i - start;
        if (digits == 0 || value > 255) return 0;
        if (digits > 1 && text[start] == '0') return 0;  // read as octal elsewhere
        parts++;
        if (i == n) break;
        if (text[i] != '.' || parts == 4) return 0;
        i++;
        if (i == n) return 0;  // a trailing dot
    }
    if (parts != 4) return 0;

    // The same text as inet_pton reads it: the address written into a unit
    // is the one shown.
    char copy[16];
    std::memcpy(copy, text, n);
    copy[n] = '\0';
    in_addr addr{};
    return inet_pton(AF_INET, copy, &addr) == 1 ? 1 : 0;
}
