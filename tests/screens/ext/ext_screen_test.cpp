// The input extension screen end to end: an operator in the lab opens a
// unit's screen, moves through its sections, edits and applies; the units'
// journal shows what they received, byte for byte.
#include <gtest/gtest.h>

#include "tests/screens/operator.h"

using namespace op;

namespace {

constexpr int BLUE = 4, YELLOW = 3, GREY = 6;  // current item, chosen value, greyed text
constexpr int EXTEND = 2;
constexpr int ROW_1TON = 4, ROW_CONN1 = 7, ROW_CONN2 = 9, ROW_CONN34 = 11;
constexpr int ROW_DISC = 14, ROW_NOTICE = 16, ROW_CHAT = 18, ROW_SEND = 20;
constexpr int COL[6] = {0, 15, 25, 35, 45, 65};  // grid columns 1..5
constexpr int COL_VALUE = 19, COL_SEND = 51;
constexpr int MSG15_TEXT_ROW = 16, MSG5_TEXT_ROW = 6;
const char* const HEADER = "自ポート  接続待ち  接続要求  接続先              接続先ポート";

bool open_screen(Session& s, const char* ip)
{
    if (!s.open_menu(ip)) return false;
    s.choose(EXTEND);
    return s.t.wait_text(HEADER, 20000);
}

// A catalogue form shown with its top-left corner at row, col.
bool form_at(Session& s, int row, int col, const std::string& label)
{
    return eventually(s.t, [&] {
        return s.t.text(row, col, 2) == "┌─" && s.t.row(row + 1).find(label) != std::string::npos;
    });
}

// Enter opens an entry form at row, col; the text is typed and confirmed.
bool fill_at(Session& s, int row, int col, const std::string& label, const std::string& text)
{
    s.t.enter();
    if (!form_at(s, row, col, label)) return false;
    s.fill_form(text);
    return true;
}

// Enter opens a choice form at row, col; key is pressed n times, then Enter.
bool pick_at(Session& s, int row, int col, const std::string& label, void (rig::Term::*key)(),
             int n)
{
    s.t.enter();
    if (!form_at(s, row, col, label)) return false;
    for (int k = 0; k < n; k++) (s.t.*key)();
    s.t.enter();
    return true;
}

// Presses keys, waiting after each for the current item at row, col.
void keys(Session& s, void (rig::Term::*key)(), int n, int row, int col)
{
    for (int k = 0; k < n; k++) (s.t.*key)();
    EXPECT_TRUE(s.wait_bg(row, col, BLUE)) << "current item at " << row << "," << col << "\n"
                                           << s.t.dump();
}

bool close_message(Session& s, int text_row, const std::string& l1, const std::string& l2)
{
    if (!s.wait_message(text_row - 1, l1, l2)) return false;
    s.t.enter();
    return s.t.wait_gone(l1);
}

// The last record image (more than a header) with this header that a unit
// received (a write) or sent (a read).
std::vector<uint8_t> last_with(const std::vector<rig::JournalEntry>& entries,
                               std::vector<uint8_t> head)
{
    std::vector<uint8_t> found;
    for (const rig::JournalEntry& e : entries)
        if (e.proto == "udp" && e.bytes.size() > 4 && rig::starts_with(e.bytes, head))
            found = e.bytes;
    return found;
}

// The TCP requests a unit received from the n-th on.
std::vector<std::string> tcp_from(const Session& s, const std::string& unit, size_t n)
{
    std::vector<std::string> out;
    const auto all = s.tcp_in(unit);
    for (size_t k = n; k < all.size(); k++) out.push_back(rig::hex(all[k]));
    return out;
}

// Expects the image written to equal the image read except for the header
// and the bytes given (offset, hex).
void expect_image(const std::vector<uint8_t>& written, const std::vector<uint8_t>& read,
                  std::vector<uint8_t> head, std::vector<std::pair<int, std::string>> changed)
{
    ASSERT_EQ(written.size(), read.size());
    std::vector<uint8_t> want = read;
    std::copy(head.begin(), head.end(), want.begin());
    for (const auto& [at, hex] : changed) {
        const std::vector<uint8_t> b = rig::unhex(hex);
        std::copy(b.begin(), b.end(), want.begin() + at);
    }
    EXPECT_EQ(rig::hex(written), rig::hex(want));
}

}  // namespace

TEST(ExtScreen, PlainUnitShowsConnection1AndItsControllerSettingsAndWritesThemInOrder)
{
    Session s(R"({"units": [{"name": "p0", "ip": "192.0.2.10", "model": 0,
      "conn": {"dest1": "192.0.2.77", "dport1": 4000, "mode1": 209},
      "params": {"0": 31, "2": 10}},
      {"name": "r7", "ip": "192.0.2.17", "faults_on": [{"on": "000000e7", "udp_silent": true},
        {"on": "5555", "close_early": true, "times": 1}, {"on": "4d49c8", "close_early": true}]}]})",
              {"-l"});
    ASSERT_TRUE(s.ready()) << s.lab.sim_log();
    ASSERT_TRUE(s.set_port("10001") && s.search()) << s.t.dump();

    // Esc after an edit writes nothing.
    ASSERT_TRUE(open_screen(s, "192.0.2.10")) << s.t.dump();
    ASSERT_TRUE(fill_at(s, 6, 5, "自ポート", "10005")) << s.t.dump();
    ASSERT_TRUE(cells_are(s.t, ROW_CONN1, COL[1], "10005", 8));
    s.t.esc();
    ASSERT_TRUE(s.t.wait_text(MENU_TITLE)) << s.t.dump();
    const size_t asked = s.tcp_in("p0").size();

    s.choose(EXTEND);
    ASSERT_TRUE(s.t.wait_text(HEADER, 20000)) << s.t.dump();
    EXPECT_TRUE(cells_are(s.t, 2, 2, "入力延長設定", 12));
    EXPECT_TRUE(cells_are(s.t, 6, 15, HEADER, cells(HEADER)));
    EXPECT_TRUE(cells_are(s.t, ROW_CONN1, 4, "接続1  :", 8));
    const char* conn1[6] = {"", "10001", "有効", "有効", "192.0.2.77", "4000"};
    for (int c = 1; c <= 5; c++)
        EXPECT_TRUE(cells_are(s.t, ROW_CONN1, COL[c], conn1[c], c == 4 ? 18 : 8));
    EXPECT_TRUE(cells_are(s.t, ROW_DISC, 4, "切断時間  :    None", 30));
    EXPECT_TRUE(cells_are(s.t, ROW_NOTICE, 4, "定期通知  :    10sec", 30));
    EXPECT_TRUE(
        cells_are(s.t, ROW_CHAT, 4, "チャタリング:  10     ms   (設定可能範囲:[4-20 ms])", 60));
    EXPECT_TRUE(cells_are(s.t, ROW_SEND, COL_SEND, "設定反映", 16));
    EXPECT_TRUE(cells_are(s.t, 4, 4, "", 70)) << "no 1:N selector";
    EXPECT_TRUE(cells_are(s.t, ROW_CONN2, 4, "", 70)) << "no connection 2";
    EXPECT_TRUE(s.wait_bg(ROW_CONN1, COL[1], BLUE)) << "starts on connection 1, column 1";
    EXPECT_EQ(tcp_from(s, "p0", asked), (std::vector<std::string>{"5555", "9000", "9000", "9002"}));

    // The wait column of connection 1 cannot be changed.
    keys(s, &rig::Term::right, 1, ROW_CONN1, COL[2]);
    s.t.enter();
    ASSERT_TRUE(close_message(s, MSG5_TEXT_ROW, "接続1 のこの項目は", "変更できません。"))
        << s.t.dump();
    keys(s, &rig::Term::left, 1, ROW_CONN1, COL[1]);
    ASSERT_TRUE(fill_at(s, 6, 5, "自ポート", "10005")) << s.t.dump();
    keys(s, &rig::Term::right, 2, ROW_CONN1, COL[3]);
    ASSERT_TRUE(pick_at(s, 6, 25, "接続要求", &rig::Term::right, 1)) << s.t.dump();
    ASSERT_TRUE(cells_are(s.t, ROW_CONN1, COL[3], "無効", 8));
    keys(s, &rig::Term::right, 1, ROW_CONN1, COL[4]);
    ASSERT_TRUE(fill_at(s, 6, 35, "接続先", "198.51.100.9")) << s.t.dump();
    keys(s, &rig::Term::right, 1, ROW_CONN1, COL[5]);
    ASSERT_TRUE(fill_at(s, 6, 40, "接続先ポート", "4002")) << s.t.dump();

    // Disconnection time "1sec" with notice "10sec" is refused, nothing sent.
    keys(s, &rig::Term::down, 1, ROW_DISC, COL_VALUE);
    ASSERT_TRUE(pick_at(s, 2, 15, "切断時間", &rig::Term::down, 4)) << s.t.dump();
    ASSERT_TRUE(cells_are(s.t, ROW_DISC, COL_VALUE, "1sec", 10));
    keys(s, &rig::Term::down, 3, ROW_SEND, COL_SEND);
    const size_t before = s.tcp_in("p0").size();
    s.t.enter();
    ASSERT_TRUE(close_message(s, MSG15_TEXT_ROW, "切断時間と定期通知は", "同時に設定できません。"))
        << s.t.dump();
    EXPECT_EQ(s.tcp_in("p0").size(), before);
    EXPECT_TRUE(last_with(s.lab.received("p0"), {0, 1, 0, 0xC0}).empty());

    // "None" with "10sec" applies both; then the chattering and the records.
    keys(s, &rig::Term::up, 3, ROW_DISC, COL_VALUE);
    ASSERT_TRUE(pick_at(s, 2, 15, "切断時間", &rig::Term::up, 4)) << s.t.dump();
    ASSERT_TRUE(cells_are(s.t, ROW_DISC, COL_VALUE, "None", 10));
    keys(s, &rig::Term::down, 2, ROW_CHAT, COL_VALUE);
    ASSERT_TRUE(fill_at(s, 14, 15, "チャタリング", "12")) << s.t.dump();
    keys(s, &rig::Term::down, 1, ROW_SEND, COL_SEND);
    s.t.enter();
    ASSERT_TRUE(s.wait_message(18, "設定完了しました。", "デバイスを再起動します。")) << s.t.dump();
    EXPECT_EQ(tcp_from(s, "p0", before), (std::vector<std::string>{"910f", "911f", "930c"}));
    const auto in = s.lab.received("p0");
    const auto out = s.lab.sent("p0");
    // Mode byte: bits 0x30 kept, waiting on, no request; port 10005, destination and its port.
    expect_image(last_with(in, {0, 1, 0, 0xC0}), last_with(out, {0, 0, 0, 0xD0}), {0, 1, 0, 0xC0},
                 {{24, "1527"}, {26, "a20f"}, {28, "c6336409"}, {32, "d0"}});
    expect_image(last_with(in, {0, 1, 0, 0xC3}), last_with(out, {0, 0, 0, 0xD3}), {0, 1, 0, 0xC3},
                 {});
    expect_image(last_with(in, {0, 0, 0, 0xC7}), last_with(out, {0, 0, 0, 0xD7}), {0, 0, 0, 0xC7},
                 {});
    s.t.enter();
    ASSERT_TRUE(s.t.wait_gone(MENU_TITLE)) << s.t.dump();
    EXPECT_EQ(s.row_of("192.0.2.10"), -1) << "the restarting unit is dropped";

    // A unit the search could not ask, whose record 7 cannot be read: not
    // opened, nothing written.
    ASSERT_TRUE(s.open_menu("192.0.2.17")) << s.t.dump();
    s.choose(EXTEND);
    ASSERT_TRUE(s.wait_message(18, "通信エラー", "")) << s.t.dump();
    EXPECT_TRUE(cells_are(s.t, MSG18_TEXT_ROW, MSG_TEXT_COL, "通信エラー", 47));
    for (const rig::JournalEntry& e : s.lab.received("r7"))
        EXPECT_FALSE(e.bytes.size() > 2 && e.bytes[1] <= 1 && (e.bytes[3] & 0xF0) == 0xC0);
    EXPECT_EQ(records_read(s.lab, "r7"), (std::vector<int>{0, 5, 3, 4, 6, 7}));
}

TEST(ExtScreen, GcUnitTurnsOnOneToNAndWritesConnections2To4AfterAFailedRecordWrite)
{
    // Connection 2 holds a 57-byte destination without a terminator.
    Session s(R"({"units": [{"name": "gc", "ip": "192.0.2.11", "model": 3, "module": "gc",
      "devtype": "X6", "conn": {"dest1": "0.0.0.0", "dport1": 4001, "mode1": 53,
      "port2": 10002, "dport2": 5000, "mode2": 49, "port3": 10003, "mode3": 53},
      "records": {"7": {"72": "6162636465666768696a6162636465666768696a6162636465666768696a6162636465666768696a6162636465666768696a61626364656667"}},
      "faults_on": [{"on": "000100c3", "udp_silent": true, "times": 1}]}]})",
              {"-l"});
    ASSERT_TRUE(s.ready()) << s.lab.sim_log();
    ASSERT_TRUE(s.set_port("10001") && s.search()) << s.t.dump();
    ASSERT_TRUE(open_screen(s, "192.0.2.11")) << s.t.dump();

    // 1:N off: the selector on "無効", connections 2 and 3,4 greyed.
    EXPECT_TRUE(cells_are(s.t, ROW_1TON, 4, "TCP 1:N 接続:  有効      無効", 40));
    EXPECT_TRUE(s.wait_bg(ROW_1TON, 29, BLUE));
    const char* rows[3][6] = {{"接続1  :", "10001", "有効", "有効", "", ""},
                              {"接続2  :", "10002", "無効", "無効", "abcdefghijabcdefgh", "5000"},
                              {"接続3,4:", "10003", "無効", "", "", ""}};
    for (int r = 0; r < 3; r++) {
        EXPECT_TRUE(cells_are(s.t, ROW_CONN1 + 2 * r, 4, rows[r][0], 8));
        for (int c = 1; c <= 5; c++)
            EXPECT_TRUE(cells_are(s.t, ROW_CONN1 + 2 * r, COL[c], rows[r][c], c == 4 ? 18 : 8));
    }
    EXPECT_TRUE(s.wait_fg(ROW_CONN2, COL[1], GREY) && s.wait_fg(ROW_CONN34, COL[2], GREY));
    EXPECT_TRUE(cells_are(s.t, ROW_DISC, 4, "", 70)) << "model 3 has no controller settings";

    // Down from connection 1 skips the greyed rows; Up comes back.
    keys(s, &rig::Term::down, 1, ROW_CONN1, COL[1]);
    keys(s, &rig::Term::down, 1, ROW_SEND, COL_SEND);
    keys(s, &rig::Term::up, 1, ROW_CONN1, COL[1]);
    keys(s, &rig::Term::up, 1, ROW_1TON, 29);
    keys(s, &rig::Term::left, 1, ROW_1TON, 19);
    EXPECT_TRUE(s.wait_fg(ROW_CONN2, COL[1], BLUE)) << "有効 makes the rows usable";
    s.t.enter();
    ASSERT_TRUE(s.wait_bg(ROW_CONN1, COL[1], BLUE)) << s.t.dump();
    EXPECT_TRUE(s.wait_bg(ROW_1TON, 19, YELLOW)) << "the choice stays marked";

    // Connection 1: "0.0.0.0" typed. Connection 2: waiting and request on, a
    // new port and destination port.
    keys(s, &rig::Term::right, 3, ROW_CONN1, COL[4]);
    ASSERT_TRUE(fill_at(s, 6, 2, "接続先", "0.0.0.0")) << s.t.dump();
    keys(s, &rig::Term::down, 1, ROW_CONN2, COL[4]);
    keys(s, &rig::Term::left, 2, ROW_CONN2, COL[2]);
    ASSERT_TRUE(pick_at(s, 8, 15, "接続待ち", &rig::Term::left, 1)) << s.t.dump();
    keys(s, &rig::Term::right, 1, ROW_CONN2, COL[3]);
    ASSERT_TRUE(pick_at(s, 8, 25, "接続要求", &rig::Term::left, 1)) << s.t.dump();
    EXPECT_TRUE(cells_are(s.t, ROW_CONN2, COL[2], "有効      有効", 18));
    keys(s, &rig::Term::left, 2, ROW_CONN2, COL[1]);
    ASSERT_TRUE(fill_at(s, 8, 5, "自ポート", "10020")) << s.t.dump();
    keys(s, &rig::Term::right, 4, ROW_CONN2, COL[5]);
    ASSERT_TRUE(fill_at(s, 8, 40, "接続先ポート", "5001")) << s.t.dump();
    // Connections 3,4 (two columns; the grid column is kept at most 2): port and waiting.
    keys(s, &rig::Term::down, 1, ROW_CONN34, COL[2]);
    ASSERT_TRUE(pick_at(s, 10, 15, "接続待ち", &rig::Term::left, 1)) << s.t.dump();
    keys(s, &rig::Term::left, 1, ROW_CONN34, COL[1]);
    ASSERT_TRUE(fill_at(s, 10, 5, "自ポート", "10040")) << s.t.dump();
    ASSERT_TRUE(cells_are(s.t, ROW_CONN34, COL[1], "10040", 8));

    // Record 3 goes unanswered: the message, no record 7, still on the button.
    keys(s, &rig::Term::down, 1, ROW_SEND, COL_SEND);
    s.t.enter();
    ASSERT_TRUE(close_message(s, MSG15_TEXT_ROW, "通信エラー", "")) << s.t.dump();
    EXPECT_NE(s.debug_log().find("send setuprecord 3 error\n"), std::string::npos);
    EXPECT_TRUE(last_with(s.lab.received("gc"), {0, 0, 0, 0xC7}).empty());
    EXPECT_TRUE(s.wait_bg(ROW_SEND, COL_SEND, BLUE));
    s.t.enter();
    ASSERT_TRUE(s.wait_message(18, "設定完了しました。", "デバイスを再起動します。")) << s.t.dump();

    const auto in = s.lab.received("gc");
    const auto out = s.lab.sent("gc");
    // Request code 5 for model 3, waiting on; bits 0x30 kept.
    expect_image(last_with(in, {0, 1, 0, 0xC0}), last_with(out, {0, 0, 0, 0xD0}), {0, 1, 0, 0xC0},
                 {{32, "f5"}, {72, "2427"}, {74, "8913"}, {80, "f5"}});
    expect_image(last_with(in, {0, 1, 0, 0xC3}), last_with(out, {0, 0, 0, 0xD3}), {0, 1, 0, 0xC3},
                 {{126, "3827"}, {128, "f5"}});
    // "0.0.0.0" is written as an empty text; the cut destination keeps the unit's bytes.
    expect_image(last_with(in, {0, 0, 0, 0xC7}), last_with(out, {0, 0, 0, 0xD7}), {0, 0, 0, 0xC7},
                 {{21, "00"}});
    EXPECT_EQ(s.tcp_in("gc").size(), 2u) << "only the two model checks";
}

TEST(ExtScreen, WifiUnitSendsPortHipHportTextAndNoRecord)
{
    Session s(R"({"units": [{"name": "w1", "ip": "192.0.2.12", "model": 1, "module": "wifi",
      "wifi": {"HIP": "wwwwwwww.example-wwwwwwww.example-wwwwwwww.example-wwwwwwww.", "HPORT": "6000"}, "params": {"0": 47, "2": 8}}]})");
    ASSERT_TRUE(s.ready()) << s.lab.sim_log();
    ASSERT_TRUE(s.set_port("10001") && s.search()) << s.t.dump();
    // A refused apply leaves the unit's values as they were: the next opening shows them.
    ASSERT_TRUE(open_screen(s, "192.0.2.12")) << s.t.dump();
    ASSERT_TRUE(fill_at(s, 6, 5, "自ポート", "10009")) << s.t.dump();
    keys(s, &rig::Term::down, 1, ROW_DISC, COL_VALUE);
    ASSERT_TRUE(pick_at(s, 2, 15, "切断時間", &rig::Term::down, 1)) << s.t.dump();
    keys(s, &rig::Term::up, 2, ROW_SEND, COL_SEND);
    s.t.enter();
    ASSERT_TRUE(close_message(s, MSG15_TEXT_ROW, "切断時間と定期通知は", "同時に設定できません。"))
        << s.t.dump();
    s.t.esc();
    ASSERT_TRUE(s.t.wait_text(MENU_TITLE)) << s.t.dump();
    s.choose(EXTEND);
    ASSERT_TRUE(s.t.wait_text(HEADER, 20000)) << s.t.dump();
    const char* conn1[6] = {"", "10001", "有効", "有効", "wwwwwwww.example-w", "6000"};
    for (int c = 1; c <= 5; c++)
        EXPECT_TRUE(cells_are(s.t, ROW_CONN1, COL[c], conn1[c], c == 4 ? 18 : 8));
    EXPECT_TRUE(cells_are(s.t, ROW_DISC, COL_VALUE, "None", 10));
    EXPECT_TRUE(cells_are(s.t, ROW_NOTICE, COL_VALUE, "30sec", 10));
    ASSERT_TRUE(cells_are(s.t, ROW_CHAT, COL_VALUE, "8", 6));
    const size_t before = s.tcp_in("w1").size();

    // The request column opens no form: the next Right moves on in the grid.
    keys(s, &rig::Term::right, 2, ROW_CONN1, COL[3]);
    s.t.enter();
    keys(s, &rig::Term::right, 2, ROW_CONN1, COL[5]);
    ASSERT_TRUE(fill_at(s, 6, 40, "接続先ポート", "6001")) << s.t.dump();
    keys(s, &rig::Term::right, 1, ROW_CONN1, COL[1]);
    ASSERT_TRUE(fill_at(s, 6, 5, "自ポート", "10007")) << s.t.dump();
    keys(s, &rig::Term::up, 1, ROW_SEND, COL_SEND);
    s.t.enter();
    ASSERT_TRUE(s.wait_message(18, "設定完了しました。", "デバイスを再起動します。")) << s.t.dump();
    // The host name longer than the screen keeps is sent whole (the module
    // may journal the text after the tool has shown its message).
    ASSERT_TRUE(s.lab.wait_received("w1", rig::as_bytes("PORT\r\n"))) << s.lab.sim_log();
    EXPECT_EQ(tcp_from(s, "w1", before),
              (std::vector<std::string>{
                  "910f", "912f", "9308",
                  rig::hex(rig::as_bytes("PORT\r\n10007\r\nHIP\r\nwwwwwwww.example-wwwwwwww."
                                         "example-wwwwwwww.example-wwwwwwww.\r\n"
                                         "HPORT\r\n6001\r\nEND\r\n"))}));
    for (const rig::JournalEntry& e : s.lab.received("w1"))
        EXPECT_FALSE(e.proto == "udp" && e.bytes.size() > 4) << "no record written";
}

// A module's own destination holding a line break cannot go into its text:
// the apply is refused before the first controller command.
TEST(ExtScreen, WifiDestinationWithALineBreakSendsNothing)
{
    Session s(R"({"units": [{"name": "w2", "ip": "192.0.2.13", "model": 0, "module": "wifi",
      "wifi": {"HIP": "two\rlines", "HPORT": "6000"}}]})",
              {"-l"});
    ASSERT_TRUE(s.ready()) << s.lab.sim_log();
    ASSERT_TRUE(s.set_port("10001") && s.search() && open_screen(s, "192.0.2.13")) << s.t.dump();
    ASSERT_TRUE(s.wait_bg(ROW_CONN1, COL[1], BLUE)) << s.t.dump();
    const size_t before = s.tcp_in("w2").size();
    keys(s, &rig::Term::up, 1, ROW_SEND, COL_SEND);
    s.t.enter();
    ASSERT_TRUE(close_message(s, MSG15_TEXT_ROW, "通信エラー", "")) << s.t.dump();
    EXPECT_EQ(s.tcp_in("w2").size(), before) << "nothing sent";
    EXPECT_NE(s.debug_log().find("set extention error\n"), std::string::npos);
}

TEST(ExtScreen, Models9And11KeepTheirSettingsInControllerMemory)
{
    Session s(R"({"units": [
      {"name": "m11", "ip": "192.0.2.13", "model": 11,
       "faults_on": [{"on_text": "MR0401", "garbage": true}]},
      {"name": "m9", "ip": "192.0.2.14", "model": 9, "module": "gc", "devtype": "X6",
       "memory": {"0401": "1f", "0421": "05"},
       "faults_on": [{"on_text": "MW0421", "silent": true, "times": 1}]}]})",
              {"-l"});
    ASSERT_TRUE(s.ready()) << s.lab.sim_log();
    ASSERT_TRUE(s.set_port("10001") && s.search()) << s.t.dump();

    // A reply whose data digits are not hexadecimal is a failed read.
    ASSERT_TRUE(open_screen(s, "192.0.2.13")) << s.t.dump();
    ASSERT_TRUE(close_message(s, MSG15_TEXT_ROW, "通信エラー(定期通知)", "")) << s.t.dump();
    ASSERT_TRUE(s.t.wait_text(MENU_TITLE)) << s.t.dump();
    EXPECT_NE(s.debug_log().find("Setting input extend\nsendrecv error\n"), std::string::npos);
    s.t.esc();
    ASSERT_TRUE(s.t.wait_gone(MENU_TITLE)) << s.t.dump();

    ASSERT_TRUE(open_screen(s, "192.0.2.14")) << s.t.dump();
    EXPECT_TRUE(cells_are(s.t, ROW_DISC, 4, "", 70)) << "no disconnection time";
    EXPECT_TRUE(cells_are(s.t, ROW_NOTICE, COL_VALUE, "10sec", 10));
    EXPECT_TRUE(cells_are(s.t, ROW_CHAT, COL_VALUE, "5", 6));
    EXPECT_TRUE(cells_are(s.t, ROW_CHAT, 26, "ms   (設定可能範囲:[0-20 ms])", 30));
    EXPECT_EQ(tcp_from(s, "m9", 4), (std::vector<std::string>{"4d5230343031c8", "4d5230343231c8"}));
    keys(s, &rig::Term::down, 1, ROW_CONN1, COL[1]);
    keys(s, &rig::Term::right, 3, ROW_CONN1, COL[4]);
    ASSERT_TRUE(fill_at(s, 6, 2, "接続先", "hostA.example")) << s.t.dump();
    keys(s, &rig::Term::down, 1, ROW_NOTICE, COL_VALUE);
    ASSERT_TRUE(pick_at(s, 12, 15, "定期通知", &rig::Term::down, 1)) << s.t.dump();
    ASSERT_TRUE(cells_are(s.t, ROW_NOTICE, COL_VALUE, "30sec", 10));
    keys(s, &rig::Term::down, 1, ROW_CHAT, COL_VALUE);
    ASSERT_TRUE(fill_at(s, 14, 15, "チャタリング", "10")) << s.t.dump();
    // The chattering write goes unanswered once: its message, no record sent.
    keys(s, &rig::Term::down, 1, ROW_SEND, COL_SEND);
    s.t.enter();
    ASSERT_TRUE(close_message(s, MSG15_TEXT_ROW, "通信エラー(チャタリング)", "")) << s.t.dump();
    EXPECT_TRUE(last_with(s.lab.received("m9"), {0, 1, 0, 0xC0}).empty());
    s.t.enter();
    ASSERT_TRUE(s.wait_message(18, "設定完了しました。", "デバイスを再起動します。")) << s.t.dump();
    // Notice 2 as the digits 2F, chattering 10 as 0A; the destination text in record 7.
    const std::string notice = rig::hex(rig::as_bytes("MW04012F\xC8"));
    const std::string chatter = rig::hex(rig::as_bytes("MW04210A\xC8"));
    EXPECT_EQ(tcp_from(s, "m9", 6), (std::vector<std::string>{notice, chatter, notice, chatter}));
    const auto r7 = last_with(s.lab.received("m9"), {0, 0, 0, 0xC7});
    ASSERT_EQ(r7.size(), 130u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r7[21])), "hostA.example");
}

TEST(ExtScreen, Models8And10ReadTheNoticeWithAjAndWriteItWithAs)
{
    Session s(R"({"units": [{"name": "m10", "ip": "192.0.2.15", "model": 10, "notice": 15},
      {"name": "m8", "ip": "192.0.2.16", "model": 8, "notice": 4}]})");
    ASSERT_TRUE(s.ready()) << s.lab.sim_log();
    ASSERT_TRUE(s.set_port("10001") && s.search()) << s.t.dump();

    // Code 15 has no text: shown empty, its list starts on choice 1, and
    // left alone it is written back as it was.
    ASSERT_TRUE(open_screen(s, "192.0.2.15")) << s.t.dump();
    EXPECT_TRUE(cells_are(s.t, ROW_NOTICE, 4, "定期通知  :", 30));
    EXPECT_TRUE(cells_are(s.t, ROW_CHAT, 4, "", 70)) << "no chattering time";
    keys(s, &rig::Term::down, 1, ROW_NOTICE, COL_VALUE);
    s.t.enter();
    ASSERT_TRUE(form_at(s, 2, 15, "定期通知")) << s.t.dump();
    EXPECT_TRUE(s.wait_bg(5, 18, BLUE) && s.t.row(5).find("0.05sec") != std::string::npos);
    EXPECT_TRUE(s.t.wait_row(18, "10min")) << "14 choices\n" << s.t.dump();
    s.t.esc();
    keys(s, &rig::Term::down, 1, ROW_SEND, COL_SEND);
    s.t.enter();
    ASSERT_TRUE(s.wait_message(18, "設定完了しました。", "デバイスを再起動します。")) << s.t.dump();
    EXPECT_EQ(tcp_from(s, "m10", 4), (std::vector<std::string>{"414a20c8", "41532fc8"}));
    s.t.enter();
    ASSERT_TRUE(s.t.wait_gone(MENU_TITLE)) << s.t.dump();

    // F9 in a form ends the program, nothing written.
    ASSERT_TRUE(open_screen(s, "192.0.2.16")) << s.t.dump();
    EXPECT_TRUE(cells_are(s.t, ROW_NOTICE, COL_VALUE, "1sec", 10));
    keys(s, &rig::Term::down, 1, ROW_NOTICE, COL_VALUE);
    s.t.enter();
    ASSERT_TRUE(form_at(s, 2, 15, "定期通知")) << s.t.dump();
    s.t.f9();
    EXPECT_EQ(s.t.wait_exit(), 0);
    EXPECT_EQ(tcp_from(s, "m8", 4), (std::vector<std::string>{"414a20c8"}));
}
