// "PING送信" on the IP screen: the system's ping tells whether some host
// already answers at the address in the field.
#include "ip_session.h"

#include <gtest/gtest.h>

#include <string>

using namespace iptest;

namespace {

TEST(PingCheck, TheOwnAddressAnAddressInUseAndAFreeAddressEachGetTheirMessage)
{
    Session s(R"({"hosts": ["192.0.2.50"], "units": [{"name": "u1", "ip": "192.0.2.10"}]})");
    ASSERT_TRUE(s.lab.ok()) << "no lab here: " << s.lab.sim_log();
    ASSERT_TRUE(s.t);
    ASSERT_TRUE(s.search("192.0.2.10") && s.open_ip_menu()) << s.t->dump();
    auto& t = *s.t;
    t.down();
    ASSERT_TRUE(s.wait_bg(ROW_ADDR, COL_FIELD, BLUE));

    struct Case {
        const char* address;  // nullptr: leave the unit's own address
        const char* line1;
        const char* line2;
        const char* logged;
    };
    const Case cases[] = {
        {nullptr, "PINGに応答がありました。", "", "ret value = 0\n"},
        {"192.0.2.50", "PINGに応答がありました。", "この設定はアドレス衝突の恐れがあります。",
         "ret value = 0\n"},
        {"192.0.2.99", "PINGに応答がありません。", "このアドレスは設定可能と思われます。",
         "ret value = 256\n"},
    };
    for (const Case& c : cases) {
        const char* address = c.address != nullptr ? c.address : "192.0.2.10";
        if (c.address != nullptr) s.edit_field(c.address);
        t.right();
        ASSERT_TRUE(s.wait_bg(ROW_ADDR, COL_PING, BLUE)) << t.dump();
        t.enter();
        EXPECT_TRUE(s.wait_message(c.line1, c.line2)) << address << "\n" << t.dump();
        std::string log = s.debug_log();
        std::string sent = std::string("sending PING to ") + address + "\n";
        size_t at = log.rfind(sent);
        ASSERT_NE(at, std::string::npos) << log;
        EXPECT_EQ(log.compare(at + sent.size(), std::string(c.logged).size(), c.logged), 0) << log;
        t.enter();  // closes the box; the row starts again on the field
        ASSERT_TRUE(t.wait_gone(c.line1)) << t.dump();
        ASSERT_TRUE(s.wait_bg(ROW_ADDR, COL_FIELD, BLUE)) << t.dump();
    }
    EXPECT_TRUE(s.udp_in("u1", 0xC0).empty()) << "a ping check writes nothing";
}

}  // namespace
