// The demo plant as the operator first meets it: a search without a port.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "rig/lab.h"
#include "rig/term.h"

namespace {

constexpr int kFirstListRow = 4;
constexpr int kLastListRow = 11;

std::string demo_plant()
{
    std::ifstream in(rig::lab_source_dir() + "/plants/demo.json");
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool any_record_read(const rig::Lab& lab, const std::string& unit)
{
    for (const auto& e : lab.received(unit))
        if (e.bytes.size() == 4 && e.bytes[3] >= 0xE0 && e.bytes[3] <= 0xE7) return true;
    return false;
}

}  // namespace

TEST(DemoPlant, ASearchListsSixteenUnitsAndLeavesOutTheRefusedAndTheFarWifi)
{
    rig::Lab lab(demo_plant());
    ASSERT_TRUE(lab.ok()) << lab.sim_log();
    rig::Term t(lab.in_host({rig::kivrasetl_path()}));
    ASSERT_TRUE(t.wait_text("KIVRASetL V1.10")) << t.dump();
    t.enter();  // "検索"
    ASSERT_TRUE(t.wait_row(kLastListRow, "192.0.2.17", 30000)) << t.dump();
    EXPECT_NE(t.row(kFirstListRow).find(" 0 00-80-A3-10-00-01 192.0.2.10      X5"),
              std::string::npos)
        << t.dump();
    for (int r = kFirstListRow; r <= kLastListRow; ++r)
        EXPECT_EQ(t.row(r).find("192.0.2.19"), std::string::npos) << t.dump();

    // The list scrolls down to its sixteenth unit; the far XPort is listed, the
    // far WiFi unit and the "X3" unit are not.
    for (int i = 0; i < 15; ++i) t.down();
    ASSERT_TRUE(t.wait_row(kLastListRow, " 15 00-80-A3-30-02-02 192.0.2.31      WiFi")) << t.dump();
    std::string screen = t.dump();
    EXPECT_NE(screen.find("198.51.100.20"), std::string::npos) << screen;
    EXPECT_EQ(screen.find("198.51.100.30"), std::string::npos) << screen;
    EXPECT_EQ(screen.find("192.0.2.19"), std::string::npos) << screen;

    // What the units saw: the refused and the far units were never asked for
    // records, the far WiFi unit never for its parameters.
    EXPECT_FALSE(any_record_read(lab, "x3"));
    EXPECT_FALSE(any_record_read(lab, "far"));
    EXPECT_TRUE(any_record_read(lab, "zr201"));
    for (const auto& e : lab.journal())
        EXPECT_FALSE(e.unit == "farwifi" && e.proto == "tcp") << "the far WiFi unit was connected";
    bool dumped = false;
    for (const auto& e : lab.received("zr201w"))
        dumped |= rig::starts_with(e.bytes, rig::as_bytes("DUMP\n"));
    EXPECT_TRUE(dumped);

    // The first look at an analog unit: ZR-301's thresholds read as a plant
    // would set them, not as the simulator's bare defaults.
    for (int i = 0; i < 6; ++i) t.up();
    ASSERT_TRUE(t.wait_row(14, "192.0.2.20")) << t.dump();  // the unit's address below the list
    t.enter();
    ASSERT_TRUE(t.wait_text("その他の設定")) << t.dump();
    t.down();
    t.down();
    t.enter();
    ASSERT_TRUE(t.wait_text("設定画面へ", 20000)) << t.dump();
    for (int i = 0; i < 6; ++i) t.down();
    t.enter();
    EXPECT_TRUE(t.wait_row(8, "Ch1 :  +25.000     +75.000     範囲内      点灯時")) << t.dump();

    t.f9();
    EXPECT_EQ(t.wait_exit(), 0);
}

