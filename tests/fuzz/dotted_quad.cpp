// The address entry: a text is a dotted quad exactly when it is four
// decimal parts 0..255 without leading zeros (trailing blanks aside); a
// parsed address prints back as the same text, and every address prints as
// a text that parses back to it.
#include "device/address_text.h"
#include "tests/fuzz/fuzz_support.h"
#include "ui/ipv4_field_type.h"

#include <arpa/inet.h>

#include <string>

namespace {

// The rule written out plainly.
bool plain_quad(const std::string& t)
{
    int parts = 0;
    size_t i = 0;
    while (true) {
        size_t start = i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') i++;
        size_t digits = i - start;
        if (digits == 0 || digits > 3 || (digits > 1 && t[start] == '0')) return false;
        if (std::stoi(t.substr(start, digits)) > 255) return false;
        parts++;
        if (i == t.size()) return parts == 4;
        if (t[i] != '.' || parts == 4) return false;
        i++;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in{data, size};
    const in_addr_t any = static_cast<in_addr_t>(in.int32());
    std::vector<char> text = in.text();

    std::string trimmed(text.data());
    while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
    const int quad = is_dotted_quad(text.data());
    FUZZ_CHECK(quad == (plain_quad(trimmed) ? 1 : 0));

    in_addr_t a = 0x5A5A5A5A;
    const int parsed = parse_dotted_quad(text.data(), &a);
    FUZZ_CHECK(parsed == (quad && trimmed.size() == std::strlen(text.data()) ? 1 : 0));
    if (parsed) {
        char back[16];
        format_dotted(a, back);
        FUZZ_CHECK(std::strcmp(back, text.data()) == 0);
    } else {
        FUZZ_CHECK(a == 0x5A5A5A5A);
    }
    FUZZ_CHECK(parse_dotted_quad(text.data(), nullptr) == parsed);

    char shown[16];
    format_dotted(any, shown);
    in_addr_t again = 0;
    FUZZ_CHECK(is_dotted_quad(shown) == 1 && parse_dotted_quad(shown, &again) == 1 && again == any);
    return 0;
}
