// Finding units: the broadcast search and adding one unit by its address,
// against simulated units in the lab.
#include "device/KIVRAXPort.h"
#include "device/unique_fd.h"
#include "lab_support.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace devtest;

namespace {

int progress_calls = 0;
void count_progress() { progress_calls++; }

// Fills the whole table with another run's leftovers.
void litter_table()
{
    for (DeviceEntry& e : xportset) {
        std::memset(&e, 0x5A, sizeof e);
        std::strcpy(e.mpass, "leftover");
        e.samenet = 1;
        e.dhcp = 1;
        e.model = 3;
    }
}

int find_entry(const char* ip)
{
    for (int i = 0; i < xportcount; i++)
        if (std::strcmp(xportset[i].ipstr, ip) == 0) return i;
    return -1;
}

long long last_udp_reply_us(const rig::Lab& lab)
{
    long long t = 0;
    for (const rig::JournalEntry& e : lab.journal())
        if (e.proto == "udp" && e.dir == "out") t = e.t_us;
    return t;
}

long long now_us()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now().time_since_epoch()).count();
}

TEST(Search, FindsEveryAcceptedUnitOnceAndEndsASecondOrTwoAfterTheLastReply)
{
    rig::Lab lab(plant({
        R"({"name":"di","ip":"192.0.2.10","mac":"00:80:a3:12:ab:fe","devtype":"X5","nib5":6,"nib6":1})",
        R"({"name":"wifi","ip":"192.0.2.11","module":"wifi","mac":"24:0a:c4:01:02:03"})",
        R"({"name":"x3","ip":"192.0.2.12","devtype":"X3"})",
        R"({"name":"x7","ip":"192.0.2.13","devtype":"X7"})",
        R"({"name":"twice","ip":"192.0.2.14","devtype":"X9","query":"both"})",
        R"({"name":"far","ip":"198.51.100.20","devtype":"X1"})",
        R"({"name":"mute","ip":"192.0.2.15","query":"none"})",
    }));
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    LogDir dir;
    litter_table();
    xportcount = 7;
    progress_calls = 0;
    xport_search_progress = count_progress;

    int found = XPortSearch();
    long long end = now_us();
    xport_search_progress = nullptr;

    EXPECT_EQ(progress_calls, 1);
    ASSERT_EQ(found, 4) << lab.sim_log();
    EXPECT_EQ(xportcount, 4);
    EXPECT_EQ(dir.log(), "XportSearch : 4 Xport devices found\n");

    // A unit answering both queries is one entry; refused types none.
    for (const char* ip : {"192.0.2.10", "192.0.2.11", "192.0.2.14", "198.51.100.20"})
        EXPECT_GE(find_entry(ip), 0) << ip;
    EXPECT_EQ(find_entry("192.0.2.12"), -1);
    EXPECT_EQ(find_entry("192.0.2.13"), -1);

    int di = find_entry("192.0.2.10");
    ASSERT_GE(di, 0);
    const DeviceEntry& e = xportset[di];
    EXPECT_EQ(std::memcmp(e.mac, "\x00\x80\xa3\x12\xab\xfe", 6), 0);
    EXPECT_EQ(e.devtype[0], 'X');
    EXPECT_EQ(e.devtype[1], '5');
    EXPECT_EQ(e.disc_nib5, 6);
    EXPECT_EQ(e.disc_nib6, 1);
    EXPECT_EQ(e.addr.sin_addr.s_addr, inet_addr("192.0.2.10"));
    // Nothing of an earlier occupant of the slot survives.
    EXPECT_EQ(e.model, -1);
    EXPECT_EQ(e.unit_id, -1);
    EXPECT_EQ(e.samenet, 0);
    EXPECT_EQ(e.dhcp, 0);
    EXPECT_STREQ(e.mpass, "");
    EXPECT_STREQ(e.extfirm, "");
    EXPECT_EQ(e.modtype, 0);
    EXPECT_EQ(GetCmdPort(di), 0);
    int wifi = find_entry("192.0.2.11");
    ASSERT_GE(wifi, 0);
    EXPECT_EQ(xportset[wifi].devtype[0], '_');
    EXPECT_EQ(xportset[wifi].devtype[1], 'L');

    // The two queries, in order, 50 ms apart, to the broadcast address.
    std::vector<rig::JournalEntry> in;
    for (const rig::JournalEntry& j : lab.received("mute"))
        if (j.proto == "udp") in.push_back(j);
    ASSERT_EQ(in.size(), 2u);
    EXPECT_EQ(in[0].bytes, bytes({0x00, 0x00, 0x00, 0xF6}));
    EXPECT_EQ(in[1].bytes, text_bytes("LN"));
    EXPECT_EQ(in[0].local, "255.255.255.255:30718");
    // The journal stamps a datagram with the time the kernel took it in, so
    // the gap is the tool's own pause; without it the gap would be near zero.
    long long gap_us = in[1].t_us - in[0].t_us;
    EXPECT_GE(gap_us, 45000);
    EXPECT_LT(gap_us, 1000000);

    double after_last = (end - last_udp_reply_us(lab)) / 1e6;
    EXPECT_GT(after_last, 0.9);
    EXPECT_LT(after_last, 2.5);
}

TEST(Search, WithNoUnitEndsAfterFiveSeconds)
{
    rig::Lab lab(plant({R"({"name":"mute","ip":"192.0.2.10","query":"none"})"}));
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    LogDir dir;
    Clock::time_point start = Clock::now();
    EXPECT_EQ(XPortSearch(), 0);
    double took = seconds_since(start);
    EXPECT_GT(took, 4.5);
    EXPECT_LT(took, 7.0);
    EXPECT_EQ(xportcount, 0);
    EXPECT_EQ(dir.log(), "XportSearch : 0 Xport devices found\n");
}

TEST(AddByAddress, RefusalsSendNothingAndASilentAddressGivesUpAfterOneSecond)
{
    rig::Lab lab(plant({
        R"({"name":"di","ip":"192.0.2.10","devtype":"X2","query":"both"})",
        R"({"name":"other","ip":"192.0.2.11"})",
        R"({"name":"mute","ip":"192.0.2.12","faults":{"udp_silent":true}})",
    }));
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    LogDir dir;
    litter_table();

    // A full table and a known address are refused before anything is sent.
    xportcount = XPORT_MAX;
    EXPECT_EQ(XPortAdd("192.0.2.10"), -1);
    xportcount = 1;
    std::strcpy(xportset[0].ipstr, "192.0.2.10");
    EXPECT_EQ(XPortAdd("192.0.2.10"), -2);
    EXPECT_EQ(xportcount, 1);

    // A unit answering both queries is appended once, its slot cleared first.
    xportcount = 1;
    std::strcpy(xportset[0].ipstr, "192.0.2.99");
    EXPECT_EQ(XPortAdd("192.0.2.10"), 2);
    EXPECT_EQ(xportcount, 2);
    EXPECT_STREQ(xportset[1].ipstr, "192.0.2.10");
    EXPECT_EQ(xportset[1].devtype[1], '2');
    EXPECT_EQ(xportset[1].model, -1);
    EXPECT_EQ(xportset[1].samenet, 0);
    EXPECT_STREQ(xportset[1].mpass, "");
    EXPECT_EQ(xportset[2].model, 3) << "nothing was written past the new entry";
    ASSERT_TRUE(lab.wait_received("di", {'L', 'N'}));
    EXPECT_EQ(requests(lab, "di", "udp"),
              (std::vector<std::vector<uint8_t>>{bytes({0, 0, 0, 0xF6}), text_bytes("LN")}))
        << "the refused calls sent nothing";
    EXPECT_TRUE(requests(lab, "other", "udp").empty());

    // The subnet's broadcast address makes units answer, but none of them is the address asked.
    EXPECT_EQ(XPortAdd("192.0.2.255"), -3);
    EXPECT_EQ(xportcount, 2);

    Clock::time_point start = Clock::now();
    EXPECT_EQ(XPortAdd("192.0.2.12"), -3);
    double took = seconds_since(start);
    EXPECT_GT(took, 0.9);
    EXPECT_LT(took, 2.5);
    EXPECT_EQ(xportcount, 2);
    EXPECT_EQ(XPortAdd("not an address"), -3);
    EXPECT_EQ(dir.log(), "");
}

// A reply shorter than 30 bytes, read straight from a socket: the slot it
// lands in holds zero where the reply carried nothing.
TEST(DiscoveryReplySlot, ShortReplyInheritsNothingFromTheSlot)
{
    UniqueFd rx(::socket(AF_INET, SOCK_DGRAM, 0));
    UniqueFd tx(::socket(AF_INET, SOCK_DGRAM, 0));
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(rx.get(), reinterpret_cast<sockaddr*>(&at), sizeof at), 0);
    socklen_t len = sizeof at;
    ASSERT_EQ(::getsockname(rx.get(), reinterpret_cast<sockaddr*>(&at), &len), 0);

    litter_table();
    const uint8_t reply[10] = {0, 0, 0, 0xF7, 0, 0x60, 0x10, 0, 'X', '6'};
    ASSERT_EQ(::sendto(tx.get(), reply, sizeof reply, 0, reinterpret_cast<sockaddr*>(&at), sizeof at), 10);
    sockaddr_in from{};
    ASSERT_EQ(get_xport_information(rx.get(), &from, 4), 1);
    const DeviceEntry& e = xportset[4];
    EXPECT_EQ(e.devtype[1], '6');
    EXPECT_EQ(std::memcmp(e.mac, "\0\0\0\0\0\0", 6), 0);
    EXPECT_EQ(e.model, -1);
    EXPECT_STREQ(e.ipstr, "127.0.0.1");
    EXPECT_EQ(e.addr.sin_port, from.sin_port);

    // With every slot taken the reply is read and dropped.
    ASSERT_EQ(::sendto(tx.get(), reply, sizeof reply, 0, reinterpret_cast<sockaddr*>(&at), sizeof at), 10);
    DeviceEntry before = xportset[XPORT_MAX - 1];
    EXPECT_EQ(get_xport_information(rx.get(), &from, XPORT_MAX), 1);
    EXPECT_EQ(std::memcmp(&before, &xportset[XPORT_MAX - 1], sizeof before), 0);
}

}  // namespace

namespace {

TEST(Search, MoreUnitsThanTheTableHoldsFillItAndTheRestAreDropped)
{
    std::vector<std::string> units;
    for (int u = 0; u < 270; u++) {
        std::string ip = u < 240 ? "192.0.2." + std::to_string(10 + u) : "198.51.100." + std::to_string(u - 230);
        units.push_back("{\"name\":\"u" + std::to_string(u) + "\",\"ip\":\"" + ip + "\"}");
    }
    rig::Lab lab(plant(units));
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    LogDir dir;
    EXPECT_EQ(XPortSearch(), XPORT_MAX);
    EXPECT_EQ(xportcount, XPORT_MAX);
    for (int i = 0; i < XPORT_MAX; i++) {
        EXPECT_EQ(xportset[i].devtype[0], 'X') << i;
        for (int j = 0; j < i; j++) ASSERT_STRNE(xportset[i].ipstr, xportset[j].ipstr) << i << " " << j;
    }
    EXPECT_EQ(dir.log(), "XportSearch : 256 Xport devices found\n");
}

}  // namespace
