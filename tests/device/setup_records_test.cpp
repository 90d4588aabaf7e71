// Reading and writing an XPort's setup records, its extra firmware text and
// the set-address broadcast, against simulated units.
#include "device/KIVRAXPort.h"
#include "fake_unit.h"
#include "lab_support.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <cstring>

using namespace devtest;

namespace {

const std::string kUnits = plant({
    R"({"name":"rec","ip":"192.0.2.10","cmd_port":10001,"mask":"255.255.255.0","gateway":"192.0.2.254"})",
    R"({"name":"gc","ip":"192.0.2.11","module":"gc","devtype":"X6"})",
    R"({"name":"far","ip":"198.51.100.20","mac":"00:80:a3:01:9c:2d"})",
    R"({"name":"mute","ip":"192.0.2.12","faults":{"udp_silent":true}})",
    R"({"name":"no4","ip":"192.0.2.13","faults":{"unreadable_record":4}})",
});

std::vector<uint8_t> image(const uint8_t* p, int n) { return std::vector<uint8_t>(p, p + n); }

// The n-th datagram (from 1) a unit sent, once the journal has it.
std::vector<uint8_t> udp_sent(const rig::Lab& lab, const std::string& unit, size_t n)
{
    std::vector<uint8_t> out;
    lab.wait_journal([&](const std::vector<rig::JournalEntry>& journal) {
        size_t seen = 0;
        for (const rig::JournalEntry& e : journal)
            if (e.unit == unit && e.proto == "udp" && e.dir == "out" && ++seen == n) {
                out = e.bytes;
                return true;
            }
        return false;
    });
    return out;
}

TEST(SetupRecords, ReadsTakeTheUnitsImagesWhole)
{
    rig::Lab lab(kUnits);
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    LogDir dir;
    in_addr_t ip = inet_addr("192.0.2.10");

    uint8_t r0[SETUP0_LEN];
    ASSERT_EQ(GetSetupRecord(ip, 0, r0, sizeof r0), 1);
    EXPECT_EQ(image(r0, sizeof r0), udp_sent(lab, "rec", 1));
    uint8_t r3[SETUP_LEN];
    ASSERT_EQ(GetSetupRecord(ip, 3, r3, sizeof r3), 1);
    EXPECT_EQ(image(r3, sizeof r3), udp_sent(lab, "rec", 2));
    EXPECT_EQ(requests(lab, "rec", "udp"),
              (std::vector<std::vector<uint8_t>>{bytes({0, 0, 0, 0xE0}), bytes({0, 0, 0, 0xE3})}));

    // The values the device list takes from record 0.
    ResetXPortEntry(0);
    std::memcpy(xportset[0].setup0, r0, sizeof r0);
    EXPECT_EQ(GetCmdPort(0), 10001);
    EXPECT_EQ(image(r0 + 4, 4), bytes({192, 0, 2, 10}));
    EXPECT_EQ(XsubnetDecode(r0[10]), inet_addr("255.255.255.0"));
    EXPECT_EQ(image(r0 + 16, 4), bytes({192, 0, 2, 254}));
    EXPECT_EQ(dir.log(), "");
}

TEST(SetupRecords, WritingSeveralRecordsMarksAllButTheLast)
{
    rig::Lab lab(kUnits);
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    LogDir dir;
    in_addr_t ip = inet_addr("192.0.2.10");

    uint8_t r0[SETUP0_LEN], r3[SETUP_LEN], r7[SETUP_LEN];
    ASSERT_EQ(GetSetupRecord(ip, 0, r0, sizeof r0), 1);
    ASSERT_EQ(GetSetupRecord(ip, 3, r3, sizeof r3), 1);
    ASSERT_EQ(GetSetupRecord(ip, 7, r7, sizeof r7), 1);
    r3[128] = 0x01;   // a changed byte the unit must store
    struct Write { uint8_t* image; int len; int record; int more; };
    const Write writes[] = {{r0, SETUP0_LEN, 0, 1}, {r3, SETUP_LEN, 3, 1}, {r7, SETUP_LEN, 7, 0}};
    for (const Write& w : writes) {
        SetRecordWriteHeader(w.image, w.record, w.more);
        uint8_t ack[4];
        EXPECT_EQ(UDP_SendRecv(ip, w.image, w.len, ack, sizeof ack), 0) << w.record;
    }
    std::vector<std::vector<uint8_t>> got = requests(lab, "rec", "udp");
    ASSERT_EQ(got.size(), 6u);
    EXPECT_EQ(got[3], image(r0, SETUP0_LEN));
    EXPECT_EQ(got[4], image(r3, SETUP_LEN));
    EXPECT_EQ(got[5], image(r7, SETUP_LEN));
    EXPECT_EQ(image(got[3].data(), 4), bytes({0x00, 0x01, 0x00, 0xC0}));
    EXPECT_EQ(image(got[4].data(), 4), bytes({0x00, 0x01, 0x00, 0xC3}));
    EXPECT_EQ(image(got[5].data(), 4), bytes({0x00, 0x00, 0x00, 0xC7}));
    // The last record (f = 0) makes the unit restart with what it was sent.
    EXPECT_TRUE(lab.wait_journal([](const std::vector<rig::JournalEntry>& j) {
        for (const rig::JournalEntry& e : j)
            if (e.unit == "rec" && e.event == "restart") return true;
        return false;
    }));
    uint8_t again[SETUP_LEN];
    ASSERT_EQ(GetSetupRecord(ip, 3, again, sizeof again), 1);
    EXPECT_EQ(again[128], 0x01);
    EXPECT_EQ(dir.log(), "");
}

TEST(SetupRecords, ExtraFirmwareAndTheSetAddressBroadcast)
{
    rig::Lab lab(kUnits);
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    LogDir dir;

    uint8_t reply[EXTFIRM_REPLY_LEN];
    ASSERT_EQ(UDP_SendRecv(inet_addr("192.0.2.11"), extfirm_query, EXTFIRM_QUERY_LEN, reply, sizeof reply), 0);
    EXPECT_EQ(requests(lab, "gc", "udp"), (std::vector<std::vector<uint8_t>>{bytes({0, 0, 0, 0xF4})}));
    char text[18];
    EXPECT_EQ(ParseExtraFirmware(reply, sizeof reply, text, sizeof text), 1);
    EXPECT_STREQ(text, "GC-1.20");

    // A unit outside the host's network takes a new address by its MAC.
    const uint8_t mac[6] = {0x00, 0x80, 0xA3, 0x01, 0x9C, 0x2D};
    uint8_t datagram[IP_SETUP_LEN];
    BuildIPSetup(mac, inet_addr("198.51.100.30"), datagram);
    EXPECT_EQ(UDP_SendRecv(htonl(INADDR_BROADCAST), datagram, IP_SETUP_LEN, nullptr, 0), 0);
    ASSERT_TRUE(lab.wait_received("far", bytes({0, 0, 0, 0xFC})));
    std::vector<std::vector<uint8_t>> got = requests(lab, "far", "udp");
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0], image(datagram, IP_SETUP_LEN));
    EXPECT_TRUE(lab.wait_journal([](const std::vector<rig::JournalEntry>& j) {
        for (const rig::JournalEntry& e : j)
            if (e.unit == "far" && e.event == "restart" && e.local.rfind("198.51.100.30", 0) == 0) return true;
        return false;
    })) << lab.sim_log();
    EXPECT_EQ(dir.log(), "");
}

TEST(SetupRecords, UnansweredReadsGiveUpAfterOneSecond)
{
    rig::Lab lab(kUnits);
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    LogDir dir;
    uint8_t buf[SETUP_LEN];

    Clock::time_point start = Clock::now();
    EXPECT_EQ(GetSetupRecord(inet_addr("192.0.2.12"), 5, buf, SETUP_LEN), 0);
    double took = seconds_since(start);
    EXPECT_GT(took, 0.9);
    EXPECT_LT(took, 2.5);
    EXPECT_EQ(dir.log(), "udpsendrecv timed out\n");

    InitDebug();
    EXPECT_EQ(GetSetupRecord(inet_addr("192.0.2.13"), 3, buf, SETUP_LEN), 1);
    EXPECT_EQ(GetSetupRecord(inet_addr("192.0.2.13"), 4, buf, SETUP_LEN), 0);
    EXPECT_EQ(dir.log(), "udpsendrecv timed out\n");
}

// A record that comes in several datagrams is put together; one whose
// remainder never comes fails a second after its first part.
TEST(SetupRecords, ReplyInSeveralDatagramsIsBoundedAfterItsFirstPart)
{
    rig::Lab lab(plant({}));
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    LogDir dir;
    std::vector<uint8_t> whole(SETUP_LEN);
    for (int i = 0; i < SETUP_LEN; i++) whole[i] = static_cast<uint8_t>(i * 7);
    whole[1] = 0x00;  // the reply header of record 6
    whole[2] = 0x00;
    whole[3] = 0xD6;
    std::vector<uint8_t> head(whole.begin(), whole.begin() + 50), tail(whole.begin() + 50, whole.end());
    in_addr_t loop = htonl(INADDR_LOOPBACK);
    uint8_t buf[SETUP_LEN];
    {
        FakeUdpUnit unit({{head, 0}, {tail, 300}});
        ASSERT_TRUE(unit.bound);
        ASSERT_EQ(GetSetupRecord(loop, 6, buf, SETUP_LEN), 1);
        EXPECT_EQ(image(buf, SETUP_LEN), whole);
    }
    {
        // The rest would come 0.6 s apart: too slow for the second after the first part.
        FakeUdpUnit unit({{head, 0}, {std::vector<uint8_t>(40, 1), 600}, {std::vector<uint8_t>(40, 2), 600}});
        ASSERT_TRUE(unit.bound);
        Clock::time_point start = Clock::now();
        EXPECT_EQ(GetSetupRecord(loop, 6, buf, SETUP_LEN), 0);
        double took = seconds_since(start);
        EXPECT_GT(took, 0.9);
        EXPECT_LT(took, 2.0);
    }
    EXPECT_EQ(dir.log(), "udpsendrecv timed out\n");
}

}  // namespace
