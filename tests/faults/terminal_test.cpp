// What the terminal can do to the tool: a 10 KB paste into a form, the
// window resized during a search and during a settings screen, a hang-up in
// the middle of an exchange, and F9 in every screen and in a form of each.
#include <gtest/gtest.h>
#include <signal.h>

#include <functional>
#include <string>

#include "tests/screens/operator.h"

using namespace op;

namespace {

const char* const PLANT = R"({"units": [
  {"name": "x0", "ip": "192.0.2.10", "model": 0},
  {"name": "m8", "ip": "192.0.2.11", "model": 8,
   "faults_on": [{"on_text": "MR0491", "delay_ms": 1200}]},
  {"name": "m10", "ip": "192.0.2.12", "model": 10},
  {"name": "m9", "ip": "192.0.2.13", "model": 9}]})";

// The main screen is whole: title, list header, the units and the help bar.
bool main_screen_whole(Session& s)
{
    return eventually(s.t, [&] {
        return s.t.row(2).find("検索済デバイス一覧") != std::string::npos &&
               s.t.row(3).find("MACアドレス") != std::string::npos && s.row_of("192.0.2.10") >= 0 &&
               s.row_of("192.0.2.13") >= 0 && s.t.row(23).find("[F9]:終了") != std::string::npos;
    });
}

// The tool has left the full screen: its texts are gone and the cursor shows.
bool terminal_restored(Session& s)
{
    return s.t.wait_gone("[F9]:終了") && s.t.cursor_visible();
}

}  // namespace

TEST(Terminal, APasteAResizeDuringASearchAndAScreenAndAHangUpInTheMiddleOfAnExchange)
{
    Session s(PLANT, {"-l"});
    ASSERT_TRUE(s.ready()) << s.lab.sim_log();

    // 10 KB pasted into the port form: the number is refused, the form is
    // empty again and takes the next entry.
    s.t.right();
    s.t.enter();
    ASSERT_TRUE(s.t.wait_text("ポート", 5000)) << s.t.dump();
    s.t.settle();
    s.t.send("10001" + std::string(10235, '9'));
    s.t.settle(300, 30000);
    s.t.enter();
    s.t.enter();
    ASSERT_TRUE(s.t.wait_row(4, "ポート              決定")) << s.t.dump();
    s.fill_form("10001");
    ASSERT_TRUE(s.t.wait_row(0, "ポート:10001")) << s.t.dump();

    // Resized while the search waits for answers, then one key: all is there.
    s.t.settle();
    s.t.enter();
    ASSERT_TRUE(s.t.wait_text("検索中...")) << s.t.dump();
    s.t.resize(30, 100);
    s.t.resize(12, 40);
    s.t.resize(24, 80);
    ASSERT_TRUE(s.t.wait_gone("検索中...", SEARCH_TIMEOUT_MS)) << s.t.dump();
    s.t.down();
    s.t.up();
    EXPECT_TRUE(main_screen_whole(s)) << s.t.dump();

    // Resized while the other settings are open.
    ASSERT_TRUE(s.open_menu("192.0.2.12")) << s.t.dump();
    s.choose(4);
    ASSERT_TRUE(s.t.wait_text("AI3 入力設定", 20000)) << s.t.dump();
    s.t.resize(20, 60);
    s.t.resize(24, 80);
    s.t.down();
    EXPECT_TRUE(s.t.wait_row(2, "その他の設定") && s.t.wait_text("設定反映") &&
                s.t.wait_row(23, "[F9]:終了"))
        << s.t.dump();
    s.t.esc();
    ASSERT_TRUE(s.t.wait_text(MENU_TITLE)) << s.t.dump();
    s.t.settle();
    s.t.esc();
    ASSERT_TRUE(s.t.wait_gone(MENU_TITLE)) << s.t.dump();

    // Hung up while a unit is slow to answer: the tool ends at once with the
    // terminal as it was found.
    ASSERT_TRUE(s.open_menu("192.0.2.11")) << s.t.dump();
    s.choose(4);
    ASSERT_TRUE(s.lab.wait_received("m8", rig::as_bytes("MR0491"))) << s.t.dump();
    ASSERT_EQ(kill(s.t.pid(), SIGHUP), 0);
    EXPECT_EQ(s.t.wait_exit(), 128 + SIGHUP) << s.t.dump();
    EXPECT_TRUE(terminal_restored(s)) << s.t.dump();
}

namespace {

// One place F9 is pressed: how the operator gets there from the list.
struct F9Point {
    const char* name;
    std::function<bool(Session&)> reach;
};

bool screen(Session& s, const char* ip, int item, const char* shown)
{
    if (!s.open_menu(ip)) return false;
    s.choose(item);
    if (!s.t.wait_text(shown, 20000)) return false;
    s.t.settle();
    return true;
}

// Enter on the screen's current item opens its form (a frame appears).
bool form(Session& s)
{
    const std::string before = s.t.dump();
    s.t.enter();
    return eventually(s.t, [&] { return s.t.dump() != before; }) && (s.t.settle(), true);
}

// The second generation's screen of input 1.
bool channel(Session& s)
{
    if (!screen(s, "192.0.2.12", 4, "AI3 入力設定")) return false;
    s.t.down();
    s.t.settle();
    s.t.enter();
    return s.t.wait_text(" OK ") && (s.t.settle(), true);
}

const F9Point kPoints[] = {
    {"DeviceList", [](Session&) { return true; }},
    {"SettingsMenu", [](Session& s) { return s.open_menu("192.0.2.10"); }},
    {"IpScreen", [](Session& s) { return screen(s, "192.0.2.10", 1, "設定反映"); }},
    {"IpForm",
     [](Session& s) {
         if (!screen(s, "192.0.2.10", 1, "設定反映")) return false;
         s.t.down();
         s.t.settle();
         return form(s);
     }},
    {"ExtensionScreen", [](Session& s) { return screen(s, "192.0.2.10", 2, "自ポート"); }},
    {"ExtensionForm",
     [](Session& s) { return screen(s, "192.0.2.10", 2, "チャタリング") && form(s); }},
    {"AnalogInputScreen", [](Session& s) { return screen(s, "192.0.2.11", 4, "AI3 入力レンジ"); }},
    {"AnalogInputForm",
     [](Session& s) { return screen(s, "192.0.2.11", 4, "AI3 入力レンジ") && form(s); }},
    {"ChannelScreen", channel},
    {"ChannelForm", [](Session& s) { return channel(s) && form(s); }},
    {"OutputScreen", [](Session& s) { return screen(s, "192.0.2.13", 4, "設定反映"); }},
    {"OutputForm", [](Session& s) { return screen(s, "192.0.2.13", 4, "設定反映") && form(s); }},
    {"AddUnitForm",
     [](Session& s) {
         s.t.esc();
         s.t.settle();
         s.t.right();
         s.t.right();
         s.t.enter();
         return s.t.wait_text("追加IP") && (s.t.settle(), true);
     }},
};

class F9Everywhere : public ::testing::TestWithParam<int> {};

TEST_P(F9Everywhere, EndsTheProgramWithTheTerminalRestored)
{
    const F9Point& p = kPoints[GetParam()];
    Session s(PLANT);
    ASSERT_TRUE(s.ready() && s.set_port("10001") && s.search()) << s.lab.sim_log() << s.t.dump();
    ASSERT_TRUE(p.reach(s)) << p.name << "\n" << s.t.dump();
    s.t.f9();
    EXPECT_EQ(s.t.wait_exit(), 0) << p.name << "\n" << s.t.dump();
    EXPECT_TRUE(terminal_restored(s)) << p.name << "\n" << s.t.dump();
}

INSTANTIATE_TEST_SUITE_P(Screens, F9Everywhere,
                         ::testing::Range(0, static_cast<int>(sizeof kPoints / sizeof kPoints[0])),
                         [](const ::testing::TestParamInfo<int>& i) {
                             return std::string(kPoints[i.param].name);
                         });

}  // namespace
