// Record requests and write headers for any record number: a read request
// only for records 0..31, a write header in the first four bytes and nowhere
// else; the record field table stays inside the images.
#include "device/KIVRAXPort.h"
#include "device/record_fields.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in{data, size};
    const int record = in.int32();
    const int more = in.int32();

    uint8_t out[6] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    int r = BuildRecordRead(record, out);
    if (record < 0 || record > 31) {
        FUZZ_CHECK(r == -1);
        for (uint8_t b : out) FUZZ_CHECK(b == 0xEE);
    } else {
        FUZZ_CHECK(r == 0 && out[0] == 0 && out[1] == 0 && out[2] == 0 && out[3] == 0xE0 + record);
        FUZZ_CHECK(out[4] == 0xEE && out[5] == 0xEE);
    }

    std::vector<uint8_t> image = in.rest();
    image.resize(SETUP_LEN + 2, 0x5A);
    std::vector<uint8_t> before = image;
    SetRecordWriteHeader(image.data(), record, more);
    FUZZ_CHECK(image[0] == 0 && image[1] == (more ? 1 : 0) && image[2] == 0);
    FUZZ_CHECK(image[3] == 0xC0 + (record & 0x3F));
    FUZZ_CHECK(std::memcmp(image.data() + 4, before.data() + 4, image.size() - 4) == 0);

    const int len = record_length(record);
    FUZZ_CHECK(len == (record == 0 ? SETUP0_LEN : SETUP_LEN));
    RecordField f{record, static_cast<int>(in.int32() % 200), FieldKind::Text, more % 200};
    if (field_fits(f, len)) FUZZ_CHECK(f.offset >= 4 && f.room >= 1 && f.offset + f.room <= len);
    return 0;
}
