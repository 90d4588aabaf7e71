// Small text helpers of the forms: multibyte detection and cutting trailing
// spaces.
#include "ui/NQ_Forms.h"
#include "base/bounded_text.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

int is_zenkakustr(const char* text)
{
    if (text == nullptr) return 0;
    size_t n = std::strlen(text);
    size_t max = MB_CUR_MAX;
    for (size_t i = 0; i < n; i++) {
        std::mbstate_t state{};
        size_t avail = n - i < max ? n - i : max;
        size_t len = std::mbrlen(text + i, avail, &state);
        // (size_t)-1 and -2 (invalid or cut bytes) are far above 1 but are no
        // character: they are passed over.
        if (len != static_cast<size_t>(-1) && len != static_cast<size_t>(-2) && len > 1) return 1;
    }
    return 0;
}

int cut_rightspace(char* text)
{
    if (text == nullptr) return 0;
    size_t n = std::strlen(text);
    while (n > 0 && text[n - 1] == ' ') text[--n] = '\0';
    return static_cast<int>(n);
}
