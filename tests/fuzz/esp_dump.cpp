// A WiFi dump of any bytes, cut anywhere: the reader never asks for a byte
// after the connection closed, ends with one of its results, keeps every
// text terminated inside its field and writes nothing but the dump's fields.
#include "device/KIVRAXPort.h"
#include "tests/fuzz/esp_fields.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

struct Source {
    const uint8_t* data;
    size_t size;
    size_t pos;
    int fail_at;     // a receive fails at this byte instead of the close (-1: never)
    bool ended;      // a call returned 0 or -1
    bool asked_after_end;
};

int next_byte(void* ctx, uint8_t* byte)
{
    Source* s = static_cast<Source*>(ctx);
    if (s->ended) s->asked_after_end = true;
    if (s->fail_at >= 0 && s->pos == static_cast<size_t>(s->fail_at)) {
        s->ended = true;
        return -1;
    }
    if (s->pos >= s->size) {
        s->ended = true;
        return 0;
    }
    *byte = s->data[s->pos++];
    return 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in{data, size};
    const uint8_t mode = in.byte();
    std::vector<uint8_t> bytes = in.rest();
    Source src{bytes.data(), bytes.size(), 0, mode & 1 ? static_cast<int>(bytes.size() / 2) : -1, false, false};

    DeviceEntry* e = new DeviceEntry;
    std::memset(e, 0x5A, sizeof *e);
    if (mode & 2) ClearEspFields(e);
    DeviceEntry* before = new DeviceEntry;
    std::memcpy(before, e, sizeof *e);

    int r = ReadEspDump(next_byte, &src, e);
    FUZZ_CHECK(r == ESP_DUMP_OK || r == ESP_DUMP_RECV_ERROR || r == ESP_DUMP_NO_LINEFEED || r == ESP_DUMP_NO_END);
    FUZZ_CHECK(!src.asked_after_end);
    if (r == ESP_DUMP_OK) FUZZ_CHECK(!src.ended);
    if (mode & 2) FUZZ_CHECK(esp_texts_terminated(e));
    copy_esp_fields(before, e);
    FUZZ_CHECK(std::memcmp(before, e, sizeof *e) == 0);
    delete before;
    delete e;
    return 0;
}
