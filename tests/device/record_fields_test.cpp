// The named fields of the setup record images: where each lies, and that
// reading and writing stay inside its room.
#include "device/record_fields.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

TEST(RecordFields, NoTwoFieldsOfARecordShareAByteAndAllFitTheirImage)
{
    const RecordField all[] = {
        rec::ip,        rec::host_bits,   rec::gateway,     rec::cmd_port,    rec::dport1,
        rec::dest1_ip,  rec::mode1,       rec::port2,       rec::dport2,      rec::mode2,
        rec::auth_pass, rec::auth_user,   rec::smtp_port,   rec::port3,       rec::mode3,
        rec::mail_host, rec::smtp_ip,     rec::mail_to1,    rec::mail_to2,    rec::from_user,
        rec::from_domain, rec::di_enable_a, rec::di_logic_a, rec::subject,   rec::di_enable_b,
        rec::di_logic_b, rec::subject2,   rec::trigger_a,   rec::trigger_b,   rec::dest1_text,
        rec::dest2_text,
    };
    for (const RecordField& a : all) {
        EXPECT_TRUE(field_fits(a, record_length(a.record))) << a.record << ":" << a.offset;
        for (const RecordField& b : all) {
            if (&a == &b || a.record != b.record) continue;
            EXPECT_TRUE(a.offset + a.room <= b.offset || b.offset + b.room <= a.offset)
                << "record " << a.record << " offsets " << a.offset << " and " << b.offset;
        }
    }
}

TEST(RecordFields, TextsStopAtTheirRoomBothWays)
{
    std::vector<uint8_t> image(130, 0);
    // A unit left no terminator: the text ends where the next field begins.
    std::memset(image.data() + 8, 'a', 49);
    image[57] = 'Z';
    char out[256];
    EXPECT_EQ(get_text(image.data(), rec::mail_to1, out, sizeof out), 49u);
    EXPECT_EQ(std::string(out), std::string(49, 'a'));
    // A smaller buffer cuts between characters.
    std::memcpy(image.data() + 106, "日本語", 9);
    image[115] = 0;
    EXPECT_EQ(get_text(image.data(), rec::from_user, out, 8), 6u);
    EXPECT_STREQ(out, "日本");

    // Written: cut at a character so that the terminator fits; the next
    // field and the bytes after the terminator keep what they held.
    std::memset(image.data(), 0x55, image.size());
    const std::string longer = std::string(22, 'x') + "日";   // 25 bytes into 24 of room
    EXPECT_EQ(put_text(image.data(), rec::from_domain, longer.c_str()), 22u);
    EXPECT_EQ(image[4 + 22], 0);
    EXPECT_EQ(image[27], 0x55);
    EXPECT_EQ(image[28], 0x55) << "byte 28 holds the input mail triggers";
    put_text(image.data(), rec::subject, "ab");
    EXPECT_EQ(image[35], 0);
    EXPECT_EQ(image[36], 0x55);
}

TEST(RecordFields, NumbersAndAddressesKeepTheirByteOrder)
{
    std::vector<uint8_t> r0(124, 0);
    put_le16(r0.data(), rec::cmd_port, 0x12345);   // low 16 bits, little-endian
    EXPECT_EQ(r0[24], 0x45);
    EXPECT_EQ(r0[25], 0x23);
    EXPECT_EQ(get_le16(r0.data(), rec::cmd_port), 0x2345);
    const uint8_t addr[4] = {192, 0, 2, 10};
    in_addr_t ip;
    std::memcpy(&ip, addr, 4);
    put_ipv4(r0.data(), rec::dest1_ip, ip);
    EXPECT_EQ(r0[28], 192);
    EXPECT_EQ(r0[31], 10);
    EXPECT_EQ(get_ipv4(r0.data(), rec::dest1_ip), ip);
    // A field of record 3 read from a record 0 image is refused, not read past it.
    EXPECT_EQ(get_byte(r0.data(), RecordField{0, 128, FieldKind::Byte, 1}), 0);
}

}  // namespace
