// A host with two networks: one search lists the units of both, and a unit
// outside the host's networks on the second one takes its new address there.
#include <gtest/gtest.h>

#include "tests/screens/operator.h"

using namespace op;

namespace {

const char* const two_networks = R"({"units": [
  {"name": "di",   "ip": "192.0.2.10",    "mac": "00:80:a3:00:01:10", "model": 0},
  {"name": "far",  "ip": "198.51.100.10", "mac": "00:80:a3:00:01:11", "devtype": "X1"},
  {"name": "wifi", "net": 2, "ip": "203.0.113.11", "mac": "24:0a:c4:00:02:11", "module": "wifi", "model": 5},
  {"name": "ai",   "net": 2, "ip": "203.0.113.12", "mac": "00:80:a3:00:02:12", "model": 8},
  {"name": "far2", "net": 2, "ip": "198.18.0.10",   "mac": "00:80:a3:00:02:13"}
]})";

const Listed listed[] = {
    {"192.0.2.10", "00-80-A3-00-01-10 192.0.2.10      ZR-201"},
    {"198.51.100.10", "00-80-A3-00-01-11 198.51.100.10   X1"},
    {"203.0.113.11", "24-0a-C4-00-02-11 203.0.113.11    ZR-206W"},
    {"203.0.113.12", "00-80-A3-00-02-12 203.0.113.12    ZR-301"},
    {"198.18.0.10", "00-80-A3-00-02-13 198.18.0.10     X5"},
};

// The host address each discovery query of a unit came from.
std::vector<std::string> query_sources(const rig::Lab& lab, const std::string& unit)
{
    std::vector<std::string> out;
    for (const rig::JournalEntry& e : lab.received(unit))
        if (e.local == "255.255.255.255:30718") out.push_back(e.peer.substr(0, e.peer.find(':')));
    return out;
}

TEST(ListTwoNetworks, OneSearchListsTheUnitsOfBothNetworksAndTheFarOneIsSetOnItsOwn)
{
    Session s(two_networks);
    ASSERT_TRUE(s.searched()) << s.lab.sim_log() << s.t.dump();

    for (const Listed& u : listed) EXPECT_TRUE(lists(s, u));
    // The queries went out on each interface from its own address, and each
    // network heard only its own.
    const std::vector<std::string> first{"192.0.2.1", "192.0.2.1"};
    const std::vector<std::string> second{"203.0.113.1", "203.0.113.1"};
    EXPECT_EQ(query_sources(s.lab, "di"), first);
    EXPECT_EQ(query_sources(s.lab, "far"), first);
    EXPECT_EQ(query_sources(s.lab, "ai"), second);
    EXPECT_EQ(query_sources(s.lab, "far2"), second);
    EXPECT_EQ(records_read(s.lab, "ai"), (std::vector<int>{0, 5, 3, 4, 6, 7}));
    EXPECT_EQ(count_received(s.lab, "ai", rig::unhex("4d49c8")), 1);

    // The unit outside the host's networks on the second link: its address
    // is broadcast out of the interface it answered on.
    ASSERT_TRUE(s.go_to("198.18.0.10")) << s.t.dump();
    s.t.enter();
    ASSERT_TRUE(s.t.wait_text("サブネット外 : IPアドレスのみ変更可能")) << s.t.dump();
    s.t.settle();
    // The address form opens over rows 16..18 with its button "決定".
    auto form_open = [&] {
        for (int r = 16; r <= 18; r++)
            if (s.t.row(r).find("決定") != std::string::npos) return true;
        return false;
    };
    s.keys("dn");
    ASSERT_TRUE(s.t.wait_for(form_open)) << s.t.dump();
    s.fill_form("198.18.0.11");
    ASSERT_TRUE(s.t.wait_for([&] { return !form_open(); })) << s.t.dump();
    s.keys("dn");
    ASSERT_TRUE(s.applied()) << s.t.dump();
    ASSERT_TRUE(s.lab.wait_event("far2", "restart")) << s.lab.sim_log();
    std::vector<std::string> sets;
    for (const rig::JournalEntry& e : s.lab.received("far2"))
        if (e.bytes.size() == 20)
            sets.push_back(e.peer.substr(0, e.peer.find(':')) + " " + rig::hex(e.bytes));
    EXPECT_EQ(sets, (std::vector<std::string>{"203.0.113.1 000000fc49502d53455455500000021"
                                              "3c612000b"}));
    EXPECT_EQ(s.lab.received("far").size(), 2u) << "the first network heard only the search";
}

}  // namespace
