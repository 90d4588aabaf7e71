// What the terminal can do to the tool: a 10 KB paste into a form, the
// window resized during a search and during every screen, a hang-up in the
// middle of an exchange, and F9 in every screen and every form of it.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
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
    return s.t.wait_for([&] {
        return s.t.row(2).find("検索済デバイス一覧") != std::string::npos &&
               s.t.row(3).find("MACアドレス") != std::string::npos && s.row_of("192.0.2.10") >= 0 &&
               s.row_of("192.0.2.13") >= 0 && s.t.row(23).find("[F9]:終了") != std::string::npos;
    });
}

// The tool has left the full screen: its texts are gone and the cursor shows.
bool terminal_restored(Session& s) { return s.t.wait_gone("[F9]:終了") && s.t.cursor_visible(); }

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
    s.choose(ETC);
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
    s.choose(ETC);
    ASSERT_TRUE(s.lab.wait_received("m8", rig::as_bytes("MR0491"))) << s.t.dump();
    ASSERT_EQ(kill(s.t.pid(), SIGHUP), 0);
    EXPECT_EQ(s.t.wait_exit(), 128 + SIGHUP) << s.t.dump();
    EXPECT_TRUE(terminal_restored(s)) << s.t.dump();
}

namespace {

// The plant of the table: each module kind and each model with screens of its own.
const char* const SCREENS_PLANT = R"({"units": [
  {"name": "x0", "ip": "192.0.2.10", "model": 0},
  {"name": "gc", "ip": "192.0.2.14", "model": 0, "module": "gc", "devtype": "X6"},
  {"name": "wf", "ip": "192.0.2.15", "model": 0, "module": "wifi"},
  {"name": "m8", "ip": "192.0.2.11", "model": 8},
  {"name": "m10", "ip": "192.0.2.12", "model": 10, "ai": [{"range": 6}, {}, {}]},
  {"name": "m9", "ip": "192.0.2.13", "model": 9, "memory": {"0b03": "01"}},
  {"name": "out", "ip": "198.51.100.10", "model": 0}]})";

// Keys that change nothing where they are pressed: Up in the top menu (it
// only leaves downwards), Left in a vertical menu, keypad Enter in a row
// of a settings screen and in a form.
const char* const UP = "\033OA";
const char* const LEFT = "\033OD";
const char* const KP_ENTER = "\033OM";

const char* const MAIL_TITLE = "メールアラート設定";

// One place F9 is pressed. From the list after a search: the settings menu
// of the unit at `ip` (none: the main screen), its item (0: the menu
// itself, or the address-only screen of a unit outside the host's
// networks) and the text that tells the screen is open; then the keys of
// `path` (d u l r arrows, x Esc, n Enter, e Enter that opens something)
// and the text of the form or window they open. `still`: the key that
// changes nothing there, pressed after the window was resized (null: not
// resized).
struct F9Point {
    const char* name;
    const char* ip;
    int item;
    const char* opened;
    const char* path;
    const char* at;
    const char* still;
};

// A row for every call site that carries a form's F9 out of its screen.
// Forms sharing one call site and its way out share a row: the columns of
// connection 1 stand for those of connections 2 and 3/4, the disconnection
// time and model 8's notice for the notice of the others, the server for
// the port, sender, recipients and subject, the low threshold for the high
// one and the width, the LED condition for the mail mode, the DO alert's
// start for its input, LED and direction, the thermocouple type for the
// output mode, one flag for all three, the high temperature for the low,
// model 8's sampling for model 10's, and output 1 (model 9) for the other
// outputs and model 11.
const F9Point kPoints[] = {
    {"DeviceList", nullptr, 0, "", "", nullptr, LEFT},
    {"TopMenu", nullptr, 0, "", "x", nullptr, UP},
    {"PortForm", nullptr, 0, "", "xre", "│ ポート", KP_ENTER},
    {"AddUnitForm", nullptr, 0, "", "xrre", "│ 追加IP", nullptr},
    {"SettingsMenu", "192.0.2.10", 0, MENU_TITLE, "", nullptr, LEFT},
    {"IpScreen", "192.0.2.10", 1, "設定反映", "", nullptr, KP_ENTER},
    {"IpAddressForm", "192.0.2.10", 1, "設定反映", "de", "│ IP設定", KP_ENTER},
    {"IpMaskForm", "192.0.2.10", 1, "設定反映", "dde", "│ サブネット", nullptr},
    {"IpGatewayForm", "192.0.2.10", 1, "設定反映", "ddde", "│ ゲートウェイ", nullptr},
    {"IpOnlyScreen", "198.51.100.10", 0, "IPアドレスのみ変更可能", "", nullptr, KP_ENTER},
    {"IpOnlyAddressForm", "198.51.100.10", 0, "IPアドレスのみ変更可能", "de", "│ IP設定", nullptr},
    {"ExtensionScreen", "192.0.2.10", 2, "チャタリング", "", nullptr, KP_ENTER},
    {"ExtensionPortForm", "192.0.2.10", 2, "チャタリング", "e", "│ 自ポート", nullptr},
    {"ExtensionRequestForm", "192.0.2.10", 2, "チャタリング", "rre", "│          接続要求",
     KP_ENTER},
    {"ExtensionDestinationForm", "192.0.2.10", 2, "チャタリング", "rrre", "│ 接続先", nullptr},
    {"ExtensionDisconnectionForm", "192.0.2.10", 2, "チャタリング", "de", "│ 切断時間", nullptr},
    {"ExtensionChatteringForm", "192.0.2.10", 2, "チャタリング", "ddde", "│ チャタリング", nullptr},
    {"ExtensionGcScreen", "192.0.2.14", 2, "TCP 1:N", "", nullptr, KP_ENTER},
    {"ExtensionGcWaitForm", "192.0.2.14", 2, "TCP 1:N", "lndre", "│          接続待ち", nullptr},
    {"ExtensionGcHostForm", "192.0.2.14", 2, "TCP 1:N", "drrre", "│ 接続先", nullptr},
    {"ExtensionWifiScreen", "192.0.2.15", 2, "チャタリング", "", nullptr, KP_ENTER},
    {"ExtensionWifiPortForm", "192.0.2.15", 2, "チャタリング", "e", "│ 自ポート", nullptr},
    {"ExtensionWifiDestPortForm", "192.0.2.15", 2, "チャタリング", "rrrre", "│ 接続先ポート",
     nullptr},
    {"ExtensionModel8Screen", "192.0.2.11", 2, "定期通知", "", nullptr, KP_ENTER},
    {"ExtensionModel8NoticeForm", "192.0.2.11", 2, "定期通知", "de", "│ 定期通知", nullptr},
    {"ExtensionModel9Screen", "192.0.2.13", 2, "チャタリング", "", nullptr, KP_ENTER},
    {"ExtensionModel9ChatteringForm", "192.0.2.13", 2, "チャタリング", "dde", "│ チャタリング",
     nullptr},
    {"MailScreen", "192.0.2.10", 3, MAIL_TITLE, "", nullptr, KP_ENTER},
    {"MailDiRow", "192.0.2.10", 3, MAIL_TITLE, "dddddd", nullptr, KP_ENTER},
    {"MailTextForm", "192.0.2.10", 3, MAIL_TITLE, "e", "│ SMTP設定", KP_ENTER},
    {"MailGcAuthForm", "192.0.2.14", 3, MAIL_TITLE, "dde", "│          SMTP-AUTH", nullptr},
    {"MailGcAuthPasswordForm", "192.0.2.14", 3, MAIL_TITLE, "ddeede", "│ パスワード", nullptr},
    {"MailWifiAuthWindow", "192.0.2.15", 3, MAIL_TITLE, "dde", "SMTP-AUTH設定", LEFT},
    {"MailWifiAuthUserForm", "192.0.2.15", 3, MAIL_TITLE, "ddee", "│ ユーザー名", nullptr},
    {"MailAnalogWindow", "192.0.2.11", 3, MAIL_TITLE, "uue", "アナログ閾値設定", KP_ENTER},
    {"MailThresholdForm", "192.0.2.11", 3, MAIL_TITLE, "uuee", "│ 閾値[%]", nullptr},
    {"MailLedForm", "192.0.2.11", 3, MAIL_TITLE, "uuerre", "│          点灯条件", nullptr},
    {"MailDoAlertWindow", "192.0.2.12", 3, MAIL_TITLE, "uue", "DO1 アラート条件設定", LEFT},
    {"MailDoStartForm", "192.0.2.12", 3, MAIL_TITLE, "uuee", "│          DOアラート", nullptr},
    {"MailDoThresholdForm", "192.0.2.12", 3, MAIL_TITLE, "uueddde", "│ 閾値[°C]", nullptr},
    {"AnalogInputScreen", "192.0.2.11", 4, "AI3 入力レンジ", "", nullptr, LEFT},
    {"SamplingForm", "192.0.2.11", 4, "AI3 入力レンジ", "e", "│ サンプリング", KP_ENTER},
    {"RangeForm", "192.0.2.11", 4, "AI3 入力レンジ", "de", "│ ADCレンジ", nullptr},
    {"ChannelScreen", "192.0.2.12", 4, "AI3 入力設定", "de", "アナログ入力 AI1 設定", KP_ENTER},
    {"ChannelRangeForm", "192.0.2.12", 4, "AI3 入力設定", "dee", "│ ADCレンジ", nullptr},
    {"ChannelTypeForm", "192.0.2.12", 4, "AI3 入力設定", "dede", "│ 熱電対タイプ", nullptr},
    {"ChannelFlagForm", "192.0.2.12", 4, "AI3 入力設定", "dedde", "│          冷接点補償", nullptr},
    {"ChannelTemperatureForm", "192.0.2.12", 4, "AI3 入力設定", "deuue", "│ 上限 °C", nullptr},
    {"OutputScreen", "192.0.2.13", 4, "設定反映", "", nullptr, KP_ENTER},
    {"OutputKindForm", "192.0.2.13", 4, "設定反映", "e", "│          AO 種別", nullptr},
    {"OutputValueForm", "192.0.2.13", 4, "設定反映", "re", "│ 初期値", nullptr},
};

// Every cell of the screen, a line of text and a line of colours (fg/bg)
// per row; the right half of a wide character has no colours of its own.
std::string cells_and_colours(rig::Term& t)
{
    std::string out;
    for (int r = 0; r < 24; r++) {
        out += t.row(r) + "\n";
        for (int c = 0; c < 80; c++)
            out += t.text(r, c, 1).empty()
                       ? "- "
                       : std::to_string(t.fg(r, c)) + "/" + std::to_string(t.bg(r, c)) + " ";
        out += "\n";
    }
    return out;
}

// The first line where two screens of cells_and_colours differ, from both.
std::string first_difference(const std::string& a, const std::string& b)
{
    size_t k = 0;
    while (k < a.size() && k < b.size() && a[k] == b[k]) k++;
    const size_t from = a.rfind('\n', k) == std::string::npos ? 0 : a.rfind('\n', k) + 1;
    const size_t line =
        static_cast<size_t>(std::count(a.begin(), a.begin() + static_cast<long>(from), '\n'));
    return "line " + std::to_string(line) + " (screen row " + std::to_string(line / 2) +
           ")\nbefore: " + a.substr(from, a.find('\n', from) - from) +
           "\n after: " + b.substr(from, b.find('\n', from) - from);
}

bool reach(Session& s, const F9Point& p)
{
    if (p.ip != nullptr) {
        if (!s.go_to(p.ip)) return false;
        s.t.enter();
        if (p.item > 0) {
            if (!s.t.wait_text(MENU_TITLE)) return false;
            s.choose(p.item);
        }
        if (!s.t.wait_text(p.opened, 20000)) return false;
        s.t.settle();
    }
    return s.keys(p.path) && (p.at == nullptr || s.t.wait_text(p.at));
}

class F9Everywhere : public ::testing::TestWithParam<int> {};

// Reached, resized (the key that changes nothing brings the screen back
// whole), then F9: the program ends with the terminal as it was found.
TEST_P(F9Everywhere, EndsTheProgramWithTheTerminalRestored)
{
    const F9Point& p = kPoints[GetParam()];
    Session s(SCREENS_PLANT);
    ASSERT_TRUE(s.searched()) << s.lab.sim_log() << s.t.dump();
    ASSERT_TRUE(reach(s, p)) << p.name << "\n" << s.t.dump();
    if (p.still != nullptr) {
        s.t.settle(1000, 30000);
        const std::string before = cells_and_colours(s.t);
        s.t.resize(20, 60);
        s.t.resize(12, 40);
        s.t.resize(24, 80);
        EXPECT_NE(cells_and_colours(s.t), before) << p.name << ": the resize lost nothing\n"
                                                  << s.t.dump();
        s.t.send(p.still);
        EXPECT_TRUE(s.t.wait_for([&] { return cells_and_colours(s.t) == before; }))
            << p.name << "\n"
            << first_difference(before, cells_and_colours(s.t));
    }
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
