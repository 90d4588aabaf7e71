// The settings file reader on any bytes: it never reads past the text (the
// input is a heap block of exactly its size); a refused file names a key or
// a place with its reason; an accepted file written back (the fields it
// held, secrets included) and read again gives the very same structs, and
// writing that again gives the same bytes.
#include "cli/settings_file.h"
#include "tests/fuzz/fuzz_support.h"

#include <string>

namespace {

void append(void* ctx, const char* bytes, size_t n)
{
    static_cast<std::string*>(ctx)->append(bytes, n);
}

std::string written(const UnitSettings& s)
{
    std::string out;
    JsonWriter w(append, &out);
    SettingsWriteOptions opt;
    opt.present_only = true;
    write_settings_file(s, opt, w);
    return out;
}

bool same(const UnitSettings& a, const UnitSettings& b)
{
    return std::memcmp(a.mac, b.mac, 6) == 0 && a.address == b.address && a.model == b.model &&
           a.modtype == b.modtype && a.unit_id == b.unit_id &&
           std::strcmp(a.model_name, b.model_name) == 0 && a.ip.dhcp == b.ip.dhcp &&
           a.ip.address == b.ip.address && a.ip.netmask == b.ip.netmask &&
           a.ip.gateway == b.ip.gateway && a.ext == b.ext && a.mail == b.mail && a.ai == b.ai &&
           a.ai2 == b.ai2 && a.ao == b.ao &&
           std::memcmp(a.ai_scale, b.ai_scale, sizeof a.ai_scale) == 0 &&
           std::memcmp(a.do_scale, b.do_scale, sizeof a.do_scale) == 0 &&
           std::memcmp(a.do_range, b.do_range, sizeof a.do_range) == 0 &&
           a.present.groups == b.present.groups &&
           std::memcmp(a.present.items, b.present.items, sizeof a.present.items) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in{data, size};
    std::vector<uint8_t> text = in.rest();
    UnitSettings s;
    SettingsFileError err;
    if (read_settings_file(reinterpret_cast<const char*>(text.data()), text.size(), &s, &err) != 0) {
        FUZZ_CHECK(err.reason[0] != '\0');
        FUZZ_CHECK(err.key[0] != '\0' || err.line > 0 || text.size() > SETTINGS_FILE_MAX ||
                   text.empty());
        FUZZ_CHECK(err.line >= 0 && err.column >= 0);
        return 0;
    }
    const std::string once = written(s);
    UnitSettings again;
    FUZZ_CHECK(read_settings_file(once.data(), once.size(), &again, &err) == 0);
    FUZZ_CHECK(same(s, again));
    FUZZ_CHECK(written(again) == once);
    return 0;
}
