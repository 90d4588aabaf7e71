// "UU" and "MI" answers: a refusal stores nothing; an accepted answer gives
// a model and unit ID in range, read from the bytes the answer holds.
#include "device/KIVRAXPort.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 5) return 0;
    std::vector<uint8_t> uu(data, data + 2);
    std::vector<uint8_t> mi(data, data + 5);

    int model = -77, unit_id = -77;
    int r = DecodeUUAnswer(uu.data(), &model, &unit_id);
    const uint8_t b = uu[0];
    if ((b & 0x70) == 0x70) FUZZ_CHECK(r == MODEL_ANSWER_MODEL7);
    else if ((b & 0x0F) == 0) FUZZ_CHECK(r == MODEL_ANSWER_ID_F);
    else if (uu[0] == 'A' && uu[1] == 'T') FUZZ_CHECK(r == MODEL_ANSWER_AT);
    else FUZZ_CHECK(r == MODEL_ANSWER_OK);
    if (r != MODEL_ANSWER_OK) {
        FUZZ_CHECK(model == -77 && unit_id == -77);
    } else {
        FUZZ_CHECK(model >= 0 && model <= 6 && unit_id >= 0 && unit_id <= 14);
        FUZZ_CHECK(((model << 4) | (~unit_id & 0x0F)) == (b & 0x7F));
    }

    model = unit_id = -77;
    DecodeMIAnswer(mi.data(), &model, &unit_id);
    FUZZ_CHECK(model >= 0 && model <= 15 && unit_id >= 0 && unit_id <= 15);
    FUZZ_CHECK(model == (mi[3] & 0x0F) && unit_id == (~mi[2] & 0x0F));
    return 0;
}
