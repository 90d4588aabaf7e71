// One key/value pair of a dump: stored only for a key the tool keeps and
// only into that key's field; a text is kept whole when it fits, else cut
// at a character boundary, and is always terminated.
#include "device/KIVRAXPort.h"
#include "tests/fuzz/esp_fields.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in{data, size};
    std::vector<char> key = in.text();
    std::vector<char> value = in.text();

    DeviceEntry* e = new DeviceEntry;
    std::memset(e, 0x5A, sizeof *e);
    DeviceEntry* before = new DeviceEntry;
    std::memcpy(before, e, sizeof *e);

    int r = StoreEspValue(e, key.data(), value.data());
    const EspField* field = nullptr;
    for (const EspField& f : esp_fields)
        if (std::strcmp(f.key, key.data()) == 0) field = &f;
    FUZZ_CHECK(r == (field != nullptr ? 1 : 0));
    if (field != nullptr && field->size > sizeof(int)) {
        const char* text = reinterpret_cast<const char*>(e) + field->offset;
        const size_t n = strnlen(text, field->size);
        const size_t len = std::strlen(value.data());
        FUZZ_CHECK(n < field->size && std::memcmp(text, value.data(), n) == 0);
        FUZZ_CHECK(len < field->size ? n == len : n == 0 || !is_continuation(value[n]));
        // A cut drops at most the three bytes of the character it would split.
        if (whole_utf8(value.data(), len)) FUZZ_CHECK(whole_utf8(text, n) && (len < field->size || n + 3 >= field->size - 1));
    }
    if (field != nullptr) std::memcpy(reinterpret_cast<char*>(before) + field->offset,
                                      reinterpret_cast<const char*>(e) + field->offset, field->size);
    FUZZ_CHECK(std::memcmp(before, e, sizeof *e) == 0);
    StoreEspValue(e, nullptr, value.data());
    StoreEspValue(e, key.data(), nullptr);
    FUZZ_CHECK(std::memcmp(before, e, sizeof *e) == 0);
    delete before;
    delete e;
    return 0;
}
