// Setup records, extra firmware and IP-SETUP on UDP 30718, and the restart that
// follows a change of address.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "client.h"
#include "rig/lab.h"

using labtest::Bytes;
using nlohmann::json;

namespace {

const char* kPlant = R"({
  "units": [
    { "name": "st", "ip": "192.0.2.10", "mac": "00:80:a3:01:02:03", "cmd_port": 10001,
      "mask": "255.255.0.0", "gateway": "192.0.2.1",
      "conn": { "dest1": "192.0.2.77", "dport1": 502, "mode1": 193, "port2": 10005, "dport2": 10006,
                "mode2": 12, "port3": 10007, "mode3": 13 },
      "mail": { "server": "192.0.2.50", "port": 587, "from_user": "unit", "from_domain": "plant.example",
                "to1": "a@plant.example", "to2": "b@plant.example", "subject": "alarm" },
      "records": { "6": { "28": "05", "62": "0203" } } },
    { "name": "gc", "ip": "192.0.2.11", "mac": "00:80:a3:01:02:04", "devtype": "X6", "module": "gc",
      "conn": { "dest1": "head.plant.example", "dest2": "tail.plant.example" },
      "mail": { "host": "mail.plant.example", "subject": "gc alarm", "subject2": "old copy" } },
    { "name": "dh", "ip": "192.0.2.12", "mac": "00:80:a3:01:02:05", "dhcp": true, "dhcp_ip": "192.0.2.40" },
    { "name": "far", "ip": "198.51.100.20", "mac": "00:80:a3:09:ab:cd" }
  ]})";

Bytes read_req(int n) { return {0, 0, 0, static_cast<uint8_t>(0xE0 + n)}; }

Bytes one_answer(const std::string& ip, const Bytes& req)
{
    auto got = labtest::udp_ask(ip, req);
    if (got.size() != 1) return {};
    return got[0].bytes;
}

std::string text_at(const Bytes& b, size_t at)
{
    std::string s;
    for (size_t i = at; i < b.size() && b[i]; ++i) s += static_cast<char>(b[i]);
    return s;
}

std::string hex_at(const Bytes& b, size_t at, size_t n)
{
    return rig::hex(Bytes(b.begin() + at, b.begin() + at + n));
}

Bytes write_req(const Bytes& image, int n, bool more)
{
    Bytes w = image;
    w[0] = 0;
    w[1] = more ? 1 : 0;
    w[2] = 0;
    w[3] = static_cast<uint8_t>(0xC0 + n);
    return w;
}

}  // namespace

TEST(Records, ImagesCarryTheUnitsSettingsAtTheirOffsets)
{
    rig::Lab lab(kPlant);
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();

    Bytes r0 = one_answer("192.0.2.10", read_req(0));
    ASSERT_EQ(r0.size(), 124u);
    EXPECT_EQ(hex_at(r0, 4, 4), "c000020a");   // static address
    EXPECT_EQ(r0[10], 16);                     // 255.255.0.0 as host bits
    EXPECT_EQ(hex_at(r0, 16, 4), "c0000201");  // gateway
    EXPECT_EQ(hex_at(r0, 24, 2), "1127");      // 10001 little-endian
    EXPECT_EQ(hex_at(r0, 26, 2), "f601");      // 502
    EXPECT_EQ(hex_at(r0, 28, 4), "c000024d");
    EXPECT_EQ(r0[32], 193);
    EXPECT_EQ(hex_at(r0, 72, 2), "1527");
    EXPECT_EQ(hex_at(r0, 74, 2), "1627");
    EXPECT_EQ(r0[80], 12);

    Bytes r3 = one_answer("192.0.2.10", read_req(3));
    ASSERT_EQ(r3.size(), 130u);
    EXPECT_EQ(hex_at(r3, 116, 2), "4b02");  // 587
    EXPECT_EQ(hex_at(r3, 126, 2), "1727");
    EXPECT_EQ(r3[128], 13);
    Bytes r5 = one_answer("192.0.2.10", read_req(5));
    EXPECT_EQ(hex_at(r5, 4, 4), "c0000232");
    EXPECT_EQ(text_at(r5, 8), "a@plant.example");
    EXPECT_EQ(text_at(r5, 57), "b@plant.example");
    EXPECT_EQ(text_at(r5, 106), "unit");
    Bytes r6 = one_answer("192.0.2.10", read_req(6));
    EXPECT_EQ(text_at(r6, 4), "plant.example");
    EXPECT_EQ(text_at(r6, 33), "alarm");
    EXPECT_EQ(text_at(r6, 67), "alarm");
    EXPECT_EQ(hex_at(r6, 28, 1), "05");
    EXPECT_EQ(hex_at(r6, 62, 2), "0203");

    Bytes g6 = one_answer("192.0.2.11", read_req(6));
    EXPECT_EQ(text_at(g6, 33) + "/" + text_at(g6, 67), "gc alarm/old copy");
    Bytes g7 = one_answer("192.0.2.11", read_req(7));
    EXPECT_EQ(text_at(g7, 21), "head.plant.example");
    EXPECT_EQ(text_at(g7, 72), "tail.plant.example");
    EXPECT_EQ(text_at(one_answer("192.0.2.11", read_req(4)), 79), "mail.plant.example");

    Bytes d0 = one_answer("192.0.2.12", read_req(0));
    EXPECT_EQ(hex_at(d0, 4, 4) + hex_at(d0, 10, 1) + hex_at(d0, 16, 4),
              "00000000"
              "00"
              "00000000");

    // Record 1 is write-only, and there is no record 2.
    EXPECT_TRUE(labtest::silent("192.0.2.10", read_req(1)));
    EXPECT_TRUE(labtest::silent("192.0.2.10", read_req(2)));
}

TEST(Records, ExtraFirmwareTextStartsAtByte16)
{
    rig::Lab lab(kPlant);
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    Bytes gc = one_answer("192.0.2.11", {0, 0, 0, 0xF4});
    ASSERT_EQ(gc.size(), 33u);
    EXPECT_EQ(text_at(gc, 16), "GC-1.20");
    Bytes plain = one_answer("192.0.2.10", {0, 0, 0, 0xF4});
    ASSERT_EQ(plain.size(), 33u);
    EXPECT_EQ(text_at(plain, 16), "");
}

TEST(Records, WrittenRecordsReadBackAndTheLastOneRestartsTheUnit)
{
    rig::Lab lab(kPlant);
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();

    Bytes r3 = one_answer("192.0.2.10", read_req(3));
    ASSERT_EQ(r3.size(), 130u);
    r3[116] = 0x19;  // SMTP port 25
    r3[117] = 0x00;
    Bytes ack = one_answer("192.0.2.10", write_req(r3, 3, true));
    EXPECT_EQ(ack.size(), 4u);
    EXPECT_EQ(hex_at(one_answer("192.0.2.10", read_req(3)), 116, 2), "1900");
    EXPECT_EQ(json::parse(lab.state("st"))["restarts"], 0);

    // Record 1 (credentials) is stored when written; record 0 with a new address is
    // the last of the operation: the unit restarts there.
    Bytes r1(130, 0);
    r1[70] = 'p';
    r1[85] = 'u';
    EXPECT_EQ(one_answer("192.0.2.10", write_req(r1, 1, true)).size(), 4u);
    Bytes r0 = one_answer("192.0.2.10", read_req(0));
    r0[7] = 0x21;  // 192.0.2.33
    r0[10] = 8;
    EXPECT_EQ(one_answer("192.0.2.10", write_req(r0, 0, false)).size(), 4u);

    ASSERT_TRUE(lab.wait_event("st", "restart"));
    json st = json::parse(lab.state("st"));
    EXPECT_EQ(st["ip"], "192.0.2.33");
    EXPECT_EQ(st["mask"], "255.255.255.0");
    EXPECT_EQ(st["restarts"], 1);
    EXPECT_EQ(st["records"]["1"].get<std::string>().substr(140, 2), "70");
    EXPECT_TRUE(labtest::silent("192.0.2.10", read_req(0)));
    auto found = labtest::udp_ask("255.255.255.255", {0, 0, 0, 0xF6}, 4);
    bool at_new = false, at_old = false;
    for (auto& d : found) {
        at_new |= d.from == "192.0.2.33";
        at_old |= d.from == "192.0.2.10";
    }
    EXPECT_TRUE(at_new);
    EXPECT_FALSE(at_old);
    EXPECT_TRUE(labtest::ping("192.0.2.33"));
    EXPECT_FALSE(labtest::ping("192.0.2.10"));
    EXPECT_TRUE(labtest::tcp_ask("192.0.2.33", 10001, {'U', 'U'}, 2).connected);
}

TEST(Records, IpSetupMovesOnlyTheUnitWhoseMacEndsMatch)
{
    rig::Lab lab(kPlant);
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    lab.enter_host();
    Bytes setup = labtest::cat(
        {{0, 0, 0, 0xFC}, labtest::text("IP-SETUP"), {0, 0, 0xAB, 0xCD}, {192, 0, 2, 44}});
    ASSERT_EQ(setup.size(), 20u);
    EXPECT_TRUE(labtest::silent("255.255.255.255", setup));  // nobody answers it
    ASSERT_TRUE(lab.wait_event("far", "restart"));
    EXPECT_EQ(json::parse(lab.state("far"))["ip"], "192.0.2.44");
    EXPECT_EQ(json::parse(lab.state("st"))["ip"], "192.0.2.10");
    EXPECT_EQ(one_answer("192.0.2.44", {0, 0, 0, 0xF6}).size(), 30u);

    // 0.0.0.0 asks for DHCP: the unit goes to the address its server gives it.
    Bytes dhcp = labtest::cat(
        {{0, 0, 0, 0xFC}, labtest::text("IP-SETUP"), {0, 0, 0x02, 0x05}, {0, 0, 0, 0}});
    labtest::udp_ask("255.255.255.255", dhcp, 1, 300);
    ASSERT_TRUE(lab.wait_event("dh", "restart"));
    json dh = json::parse(lab.state("dh"));
    EXPECT_EQ(dh["ip"], "192.0.2.40");
    EXPECT_EQ(dh["dhcp"], true);
}
