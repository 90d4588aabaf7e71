// Byte images of the discovery, setup-record and command exchanges, built
// and read without any socket.
#include "device/KIVRAXPort.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

namespace {

std::vector<uint8_t> bytes(const uint8_t* p, int n) { return std::vector<uint8_t>(p, p + n); }

TEST(DiscoveryReply, AcceptsXPortDigitsAndTheWifiModuleOnly)
{
    struct Case { const char* type; int accepted; };
    const Case cases[] = {
        {"X1", 1}, {"X2", 1}, {"X4", 1}, {"X5", 1}, {"X6", 1}, {"X9", 1}, {"_L", 1},
        {"X3", 0}, {"X7", 0}, {"X8", 0}, {"X0", 0}, {"x5", 0}, {"_l", 0}, {"Y5", 0},
        {"X\0", 0}, {"\0\0", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(IsAcceptedDeviceType(c.type), c.accepted) << c.type;
}

TEST(DiscoveryReply, FullReplyFillsNibblesTypeAndMac)
{
    uint8_t reply[30] = {0x00, 0x00, 0x00, 0xF7, 0x00, 0x6A, 0x1F, 0x00, 'X', '5'};
    const uint8_t mac[6] = {0x00, 0x80, 0xA3, 0x12, 0xAB, 0xFE};
    std::memcpy(reply + 24, mac, 6);
    DeviceEntry e{};
    ParseDiscoveryReply(reply, sizeof reply, &e);
    EXPECT_EQ(e.disc_nib5, 0x6);
    EXPECT_EQ(e.disc_nib6, 0x1);
    EXPECT_EQ(e.devtype[0], 'X');
    EXPECT_EQ(e.devtype[1], '5');
    EXPECT_EQ(bytes(e.mac, 6), bytes(mac, 6));
}

TEST(DiscoveryReply, ShortReplyLeavesBytesItNeverCarriedUntouched)
{
    // A 9-byte reply carries only the type's first character.
    uint8_t reply[9] = {0, 0, 0, 0xF7, 0, 0x70, 0x20, 0, 'X'};
    DeviceEntry e{};
    e.devtype[1] = '?';
    e.mac[5] = 0x77;
    ParseDiscoveryReply(reply, sizeof reply, &e);
    EXPECT_EQ(e.disc_nib5, 7);
    EXPECT_EQ(e.devtype[0], 'X');
    EXPECT_EQ(e.devtype[1], '?');
    EXPECT_EQ(e.mac[5], 0x77);
}

TEST(SetupRecords, ReadRequestsAndWriteHeaders)
{
    uint8_t req[4];
    ASSERT_EQ(BuildRecordRead(3, req), 0);
    EXPECT_EQ(bytes(req, 4), (std::vector<uint8_t>{0x00, 0x00, 0x00, 0xE3}));
    ASSERT_EQ(BuildRecordRead(0, req), 0);
    EXPECT_EQ(req[3], 0xE0);
    EXPECT_EQ(BuildRecordRead(-1, req), -1);
    EXPECT_EQ(BuildRecordRead(32, req), -1);

    // Records 0, 3 and 7 in one operation: f set on all but the last.
    struct Case { int record; int more; std::vector<uint8_t> header; };
    const Case cases[] = {
        {0, 1, {0x00, 0x01, 0x00, 0xC0}},
        {3, 1, {0x00, 0x01, 0x00, 0xC3}},
        {7, 0, {0x00, 0x00, 0x00, 0xC7}},
        {0, 0, {0x00, 0x00, 0x00, 0xC0}},
    };
    for (const Case& c : cases) {
        uint8_t image[SETUP_LEN];
        std::memset(image, 0x5A, sizeof image);
        SetRecordWriteHeader(image, c.record, c.more);
        EXPECT_EQ(bytes(image, 4), c.header) << c.record;
        EXPECT_EQ(image[4], 0x5A) << "the image after the header is left alone";
    }
}

TEST(SetupRecords, ExtraFirmwareTextAndGcMark)
{
    uint8_t reply[EXTFIRM_REPLY_LEN] = {0x00, 0x00, 0x00, 0xF5};
    char text[18];
    std::memcpy(reply + 16, "GC-1.20", 7);
    EXPECT_EQ(ParseExtraFirmware(reply, sizeof reply, text, sizeof text), 1);
    EXPECT_STREQ(text, "GC-1.20");

    // 17 characters fill the text; no terminator in the reply is needed.
    std::memset(reply + 16, 'A', 17);
    EXPECT_EQ(ParseExtraFirmware(reply, sizeof reply, text, sizeof text), 0);
    EXPECT_STREQ(text, "AAAAAAAAAAAAAAAAA");

    // A reply cut before byte 16 gives an empty text.
    EXPECT_EQ(ParseExtraFirmware(reply, 10, text, sizeof text), 0);
    EXPECT_STREQ(text, "");
}

TEST(SetupRecords, IpSetupDatagramNamesTheUnitByTheEndOfItsMac)
{
    const uint8_t mac[6] = {0x00, 0x80, 0xA3, 0x01, 0x9C, 0x2D};
    uint8_t out[IP_SETUP_LEN];
    BuildIPSetup(mac, inet_addr("198.51.100.77"), out);
    const std::vector<uint8_t> want = {0x00, 0x00, 0x00, 0xFC, 'I', 'P', '-', 'S', 'E', 'T',
                                       'U', 'P', 0x00, 0x00, 0x9C, 0x2D, 198, 51, 100, 77};
    EXPECT_EQ(bytes(out, IP_SETUP_LEN), want);
    BuildIPSetup(mac, inet_addr("0.0.0.0"), out);
    EXPECT_EQ(bytes(out + 16, 4), (std::vector<uint8_t>{0, 0, 0, 0}));
}

TEST(SubnetMask, HostBitCountsBothWays)
{
    struct Case { const char* mask; int bits; };
    const Case cases[] = {
        {"255.255.255.0", 8}, {"255.255.0.0", 16}, {"255.0.0.0", 24}, {"255.255.255.255", 0},
        {"0.0.0.0", 32}, {"255.255.255.252", 2}, {"255.255.254.0", 9}, {"128.0.0.0", 31},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(XSubnetEncode(inet_addr(c.mask)), c.bits) << c.mask;
        EXPECT_EQ(XsubnetDecode(c.bits), inet_addr(c.mask)) << c.bits;
    }
    for (const char* bad : {"255.0.255.0", "0.255.255.255", "255.255.255.1", "254.255.255.0"})
        EXPECT_EQ(XSubnetEncode(inet_addr(bad)), -1) << bad;
    // Every contiguous mask survives the round trip.
    for (int bits = 0; bits <= 32; bits++)
        EXPECT_EQ(XSubnetEncode(XsubnetDecode(bits)), bits) << bits;
    // A record byte beyond 32 leaves no network bits rather than wrapping.
    for (int bits : {32, 33, 40, 255}) EXPECT_EQ(XsubnetDecode(bits), 0u) << bits;
}

TEST(ModelAnswer, OneByteAnswersAndRefusals)
{
    struct Case { uint8_t b0, b1; int kind; int model; int id; };
    const Case cases[] = {
        {0x2E, 0x55, MODEL_ANSWER_OK, 2, 1},
        {0x0E, 0x55, MODEL_ANSWER_OK, 0, 1},
        {0x61, 0x55, MODEL_ANSWER_OK, 6, 14},
        {0x8E, 0x55, MODEL_ANSWER_OK, 0, 1},   // bit 7 is not part of the model
        {0x7E, 0x55, MODEL_ANSWER_MODEL7, -1, -1},
        {0x70, 0x55, MODEL_ANSWER_MODEL7, -1, -1},   // model 7 is judged before ID F
        {0x20, 0x55, MODEL_ANSWER_ID_F, -1, -1},
        {'A', 'T', MODEL_ANSWER_AT, -1, -1},
        {'A', 'X', MODEL_ANSWER_OK, 4, 14},
    };
    for (const Case& c : cases) {
        const uint8_t reply[2] = {c.b0, c.b1};
        int model = -1, id = -1;
        EXPECT_EQ(DecodeUUAnswer(reply, &model, &id), c.kind) << int(c.b0);
        EXPECT_EQ(model, c.model) << int(c.b0);
        EXPECT_EQ(id, c.id) << int(c.b0);
    }
    const uint8_t mi[5] = {'M', 'I', 0x0C, 0x08, 0xC8};
    int model = -1, id = -1;
    DecodeMIAnswer(mi, &model, &id);
    EXPECT_EQ(model, 8);
    EXPECT_EQ(id, 3);
}

TEST(UnitCommands, CatalogueLengths)
{
    struct Case { const char* name; int req; int rep; };
    const Case cases[] = {{"MR0B03", 7, 13}, {"MW0432", 11, 5}, {"AL", 13, 13}, {"TJ", 4, 15},
                          {"DJ", 4, 11},     {"AQ", 8, 8},      {"AK", 4, 13}};
    for (const Case& c : cases) {
        const UnitCommand* cmd = FindUnitCommand(c.name);
        ASSERT_NE(cmd, nullptr) << c.name;
        EXPECT_EQ(cmd->request_len, c.req) << c.name;
        EXPECT_EQ(cmd->reply_len, c.rep) << c.name;
    }
    EXPECT_EQ(FindUnitCommand("ZZ"), nullptr);
    EXPECT_EQ(unit_command_count, 21);
}

TEST(UnitCommands, MemoryReadsAndWritesInCapitalHex)
{
    uint8_t req[11];
    BuildMemoryRead(0x0B63, req);
    EXPECT_EQ(bytes(req, 7), (std::vector<uint8_t>{'M', 'R', '0', 'B', '6', '3', 0xC8}));
    const uint8_t one[1] = {0x2F};
    EXPECT_EQ(BuildMemoryWrite(0x0401, one, 1, req), 9);
    EXPECT_EQ(bytes(req, 9), (std::vector<uint8_t>{'M', 'W', '0', '4', '0', '1', '2', 'F', 0xC8}));
    const uint8_t two[2] = {0x03, 0xA7};
    EXPECT_EQ(BuildMemoryWrite(0x0432, two, 2, req), 11);
    EXPECT_EQ(bytes(req, 11),
              (std::vector<uint8_t>{'M', 'W', '0', '4', '3', '2', '0', '3', 'A', '7', 0xC8}));
    EXPECT_EQ(BuildMemoryWrite(0x0432, two, 3, req), -1);

    const uint8_t reply[11] = {'M', 'R', '0', '4', '3', '2', '0', '3', 'a', '7', 0xC8};
    uint8_t data[2] = {};
    ASSERT_EQ(ParseMemoryReply(reply, 11, 2, data), 0);
    EXPECT_EQ(data[0], 0x03);
    EXPECT_EQ(data[1], 0xA7);
    EXPECT_EQ(ParseMemoryReply(reply, 9, 2, data), -1) << "reply too short for two bytes";
    const uint8_t junk[9] = {'M', 'R', '0', '4', '0', '1', 'G', '1', 0xC8};
    EXPECT_EQ(ParseMemoryReply(junk, 9, 1, data), -1);
    EXPECT_EQ(ParseMemoryReply(reply, 11, 0x40000000, data), -1) << "a count too large for any reply";
}

TEST(AnalogThreshold, WriteAndReadBytes)
{
    uint8_t req[13];
    BuildThresholdWrite(1, 1, 2, 0x0123, 0xABCD, req);
    EXPECT_EQ(bytes(req, 13), (std::vector<uint8_t>{'A', 'L', 0x21, 0x2A, 'A', 'B', 'C', 'D', '0',
                                                    '1', '2', '3', 0xC8}));
    BuildThresholdWrite(0, 0, 0, 0x1FFFF, -1, req);   // only the low 16 bits are sent
    EXPECT_EQ(bytes(req, 13), (std::vector<uint8_t>{'A', 'L', 0x20, 0x20, 'F', 'F', 'F', 'F', 'F',
                                                    'F', 'F', 'F', 0xC8}));
    BuildThresholdRead(2, req);
    EXPECT_EQ(bytes(req, 4), (std::vector<uint8_t>{'A', 'K', 0x22, 0xC8}));
    // Out-of-range channels and mail codes are refused.
    const std::pair<int, int> refused[] = {{-1, 0}, {3, 0}, {INT_MAX, 0}, {0, -1}, {0, 4}, {0, INT_MIN}};
    for (const auto& r : refused)
        EXPECT_EQ(BuildThresholdWrite(r.first, 1, r.second, 0, 0, req) + BuildThresholdRead(r.first, req),
                  r.first == 0 ? -1 : -2);

    const uint8_t reply[13] = {'A', 'K', 0x20, 0x2B, '0', '0', 'F', 'F', 'f', 'f', '0', '1', 0x00};
    int led = -1, mail = -1, high = -1, low = -1;
    ASSERT_EQ(ParseThresholdReply(reply, &led, &mail, &high, &low), 0);
    EXPECT_EQ(led, 1);
    EXPECT_EQ(mail, 3);
    EXPECT_EQ(low, 255);
    EXPECT_EQ(high, 0xFF01);

    const uint8_t bad[13] = {'A', 'K', 0x20, 0x20, '0', '0', 'Z', 'F', '0', '0', '0', '0', 0xC8};
    low = -7;
    EXPECT_EQ(ParseThresholdReply(bad, &led, &mail, &high, &low), -1);
    EXPECT_EQ(low, -7) << "nothing stored from a reply that is not hexadecimal";
}

}  // namespace
