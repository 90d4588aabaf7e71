// Record fields of any image: a text put into a field stays inside its room
// (every other byte of the image unchanged), is terminated, reads back whole
// when it fits and is cut at a character boundary when it does not; a text
// read from a unit's bytes never passes the room or the reader's buffer.
// Numbers and addresses read back as written.
#include "device/record_fields.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

const RecordField kFields[] = {
    rec::ip,          rec::host_bits,   rec::gateway,   rec::cmd_port,  rec::dport1,   rec::dest1_ip,
    rec::mode1,       rec::port2,       rec::dport2,    rec::mode2,     rec::auth_pass, rec::auth_user,
    rec::smtp_port,   rec::port3,       rec::mode3,     rec::mail_host, rec::smtp_ip,  rec::mail_to1,
    rec::mail_to2,    rec::from_user,   rec::from_domain, rec::di_enable_a, rec::di_logic_a, rec::subject,
    rec::di_enable_b, rec::di_logic_b,  rec::subject2,  rec::trigger_a, rec::trigger_b, rec::dest1_text,
    rec::dest2_text,
};

// Bytes outside [from, to) of a and b are equal.
bool same_outside(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, size_t from, size_t to)
{
    for (size_t k = 0; k < a.size(); k++)
        if ((k < from || k >= to) && a[k] != b[k]) return false;
    return true;
}

void check_text(const RecordField& f, std::vector<uint8_t>& image, const char* text, size_t outsize)
{
    const size_t len = std::strlen(text);
    const size_t room = static_cast<size_t>(f.room);
    const size_t at = static_cast<size_t>(f.offset);

    // Reading what the unit left there: a prefix of the room, within out.
    std::vector<char> out(outsize > 0 ? outsize : 1, 'Z');
    size_t got = get_text(image.data(), f, outsize > 0 ? out.data() : nullptr, outsize);
    if (outsize > 0) {
        FUZZ_CHECK(got < outsize && got <= room && out[got] == '\0');
        FUZZ_CHECK(std::memcmp(out.data(), image.data() + at, got) == 0);
    }

    std::vector<uint8_t> before = image;
    size_t n = put_text(image.data(), f, text);
    FUZZ_CHECK(n < room && image[at + n] == 0 && std::memcmp(image.data() + at, text, n) == 0);
    FUZZ_CHECK(same_outside(image, before, at, at + n + 1));
    if (len < room) FUZZ_CHECK(n == len);
    else FUZZ_CHECK(n == 0 || !is_continuation(static_cast<uint8_t>(text[n])));
    if (whole_utf8(text, len)) FUZZ_CHECK(whole_utf8(text, n) && (len < room || n + 3 >= room - 1));

    // The text reads back as written into a buffer of any size.
    std::vector<char> back(outsize > 0 ? outsize : 1, 'Z');
    got = get_text(image.data(), f, outsize > 0 ? back.data() : nullptr, outsize);
    if (outsize > n) FUZZ_CHECK(got == n && std::memcmp(back.data(), text, n) == 0);
    else if (outsize > 0) FUZZ_CHECK(got < outsize && std::memcmp(back.data(), text, got) == 0);
    else FUZZ_CHECK(got == 0);
    FUZZ_CHECK(same_outside(image, before, at, at + n + 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in{data, size};
    const RecordField& f = kFields[in.byte() % (sizeof kFields / sizeof kFields[0])];
    const size_t outsize = in.byte();
    const int value = in.int32();
    std::vector<char> text = in.text();
    std::vector<uint8_t> image = in.rest();
    image.resize(record_length(f.record), 0xA5);
    FUZZ_CHECK(field_fits(f, static_cast<int>(image.size())));

    std::vector<uint8_t> before = image;
    const size_t at = static_cast<size_t>(f.offset);
    switch (f.kind) {
    case FieldKind::Text:
        check_text(f, image, text.data(), outsize);
        break;
    case FieldKind::Byte:
        put_byte(image.data(), f, value);
        FUZZ_CHECK(get_byte(image.data(), f) == (value & 0xFF) && same_outside(image, before, at, at + 1));
        break;
    case FieldKind::Le16:
        put_le16(image.data(), f, value);
        FUZZ_CHECK(get_le16(image.data(), f) == (value & 0xFFFF) && same_outside(image, before, at, at + 2));
        break;
    case FieldKind::Ipv4:
        put_ipv4(image.data(), f, static_cast<in_addr_t>(value));
        FUZZ_CHECK(get_ipv4(image.data(), f) == static_cast<in_addr_t>(value));
        FUZZ_CHECK(same_outside(image, before, at, at + 4));
        break;
    }
    // A field outside its image reads as zero and is never written.
    RecordField outside = f;
    outside.offset = record_length(f.record) - f.room + 1 + (value & 0x3F);
    before = image;
    put_text(image.data(), outside, text.data());
    put_byte(image.data(), outside, value);
    put_le16(image.data(), outside, value);
    put_ipv4(image.data(), outside, static_cast<in_addr_t>(value));
    FUZZ_CHECK(image == before);
    FUZZ_CHECK(get_byte(image.data(), outside) == 0 && get_le16(image.data(), outside) == 0);
    char small[4] = "abc";
    FUZZ_CHECK(get_text(image.data(), outside, small, sizeof small) == 0 && small[0] == '\0');
    return 0;
}
