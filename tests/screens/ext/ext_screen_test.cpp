// The input extension screen end to end: an operator in the lab opens a
// unit's screen, moves through its sections, edits and applies; the units'
// journal shows what they received, byte for byte.
#include <gtest/gtest.h>

#include "tests/screens/operator.h"

using namespace op;

namespace {

constexpr int ROW_1TON = 4, ROW_CONN1 = 7, ROW_CONN2 = 9, ROW_CONN34 = 11;
constexpr int ROW_DISC = 14, ROW_NOTICE = 16, ROW_CHAT = 18, ROW_SEND = 20;
constexpr int COL[6] = {0, 15, 25, 35, 45, 65};  // grid columns 1..5
constexpr int COL_VALUE = 19, COL_SEND = 51;
constexpr int MSG15 = 15, MSG5 = 5;  // message box rows
const char* const HEADER = "自ポート  接続待ち  接続要求  接続先              接続先ポート";

bool open_screen(Session& s, const char* ip)
{
    return s.open(ip, EXTEND) && s.t.wait_text(HEADER, 20000);
}

// A catalogue form shown with its top-left corner at row, col.
bool form_at(Session& s, int row, int col, const std::string& label)
{
    return s.t.wait_for([&] {
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

// Enter opens a choice form at row, col; the keys of path, then Enter.
bool pick_at(Session& s, int row, int col, const std::string& label, const char* path)
{
    s.t.enter();
    if (!form_at(s, row, col, label)) return false;
    s.keys(path);
    s.t.enter();
    return true;
}

// The last image of record n written to the unit.
Bytes written(const Session& s, const char* unit, int n)
{
    const std::vector<Bytes> w = s.record_writes(unit, n);
    return w.empty() ? Bytes{} : w.back();
}

// Expects the image written to equal the image read except for the header
// and the bytes given (offset, hex).
void expect_image(const Bytes& written, const Bytes& read, Bytes head,
                  std::vector<std::pair<int, std::string>> changed)
{
    ASSERT_EQ(written.size(), read.size());
    Bytes want = read;
    std::copy(head.begin(), head.end(), want.begin());
    for (const auto& [at, hex] : changed) {
        const Bytes b = rig::unhex(hex);
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
    ASSERT_TRUE(s.searched()) << s.lab.sim_log() << s.t.dump();

    // Esc after an edit writes nothing.
    ASSERT_TRUE(open_screen(s, "192.0.2.10")) << s.t.dump();
    ASSERT_TRUE(fill_at(s, 6, 5, "自ポート", "10005")) << s.t.dump();
    ASSERT_TRUE(cells_are(s.t, ROW_CONN1, COL[1], "10005", 8));
    s.t.esc();
    ASSERT_TRUE(s.t.wait_text(MENU_TITLE)) << s.t.dump();
    const size_t asked = s.tcp_in("p0").size();

    s.choose(EXTEND);
    ASSERT_TRUE(s.t.wait_text(HEADER, 20000)) << s.t.dump();
    // No 1:N selector, no connection 2.
    EXPECT_TRUE(s.shows({{2, 2, "入力延長設定", 12},
                         {6, 15, HEADER},
                         {ROW_CONN1, 4, "接続1  :", 8},
                         {ROW_CONN1, COL[1], "10001", 8},
                         {ROW_CONN1, COL[2], "有効", 8},
                         {ROW_CONN1, COL[3], "有効", 8},
                         {ROW_CONN1, COL[4], "192.0.2.77", 18},
                         {ROW_CONN1, COL[5], "4000", 8},
                         {ROW_DISC, 4, "切断時間  :    None", 30},
                         {ROW_NOTICE, 4, "定期通知  :    10sec", 30},
                         {ROW_CHAT, 4, "チャタリング:  10     ms   (設定可能範囲:[4-20 ms])", 60},
                         {ROW_SEND, COL_SEND, "設定反映", 16},
                         {4, 4, "", 70},
                         {ROW_CONN2, 4, "", 70}}));
    EXPECT_TRUE(s.wait_bg(ROW_CONN1, COL[1], BLUE)) << "starts on connection 1, column 1";
    EXPECT_EQ(s.requests("p0", asked), (std::vector<std::string>{"5555", "9000", "9000", "9002"}));

    // The wait column of connection 1 cannot be changed.
    EXPECT_TRUE(s.move("r", ROW_CONN1, COL[2]));
    s.t.enter();
    ASSERT_TRUE(s.closes_message(MSG5, "接続1 のこの項目は", "変更できません。")) << s.t.dump();
    EXPECT_TRUE(s.move("l", ROW_CONN1, COL[1]));
    ASSERT_TRUE(fill_at(s, 6, 5, "自ポート", "10005")) << s.t.dump();
    EXPECT_TRUE(s.move("rr", ROW_CONN1, COL[3]));
    ASSERT_TRUE(pick_at(s, 6, 25, "接続要求", "r")) << s.t.dump();
    ASSERT_TRUE(cells_are(s.t, ROW_CONN1, COL[3], "無効", 8));
    EXPECT_TRUE(s.move("r", ROW_CONN1, COL[4]));
    ASSERT_TRUE(fill_at(s, 6, 35, "接続先", "198.51.100.9")) << s.t.dump();
    EXPECT_TRUE(s.move("r", ROW_CONN1, COL[5]));
    ASSERT_TRUE(fill_at(s, 6, 40, "接続先ポート", "4002")) << s.t.dump();

    // Disconnection time "1sec" with notice "10sec" is refused, nothing sent.
    EXPECT_TRUE(s.move("d", ROW_DISC, COL_VALUE));
    ASSERT_TRUE(pick_at(s, 2, 15, "切断時間", "dddd")) << s.t.dump();
    ASSERT_TRUE(cells_are(s.t, ROW_DISC, COL_VALUE, "1sec", 10));
    EXPECT_TRUE(s.move("ddd", ROW_SEND, COL_SEND));
    const size_t before = s.tcp_in("p0").size();
    s.t.enter();
    ASSERT_TRUE(s.closes_message(MSG15, "切断時間と定期通知は", "同時に設定できません。"))
        << s.t.dump();
    EXPECT_EQ(s.tcp_in("p0").size(), before);
    EXPECT_TRUE(s.record_writes("p0", 0).empty());

    // "None" with "10sec" applies both; then the chattering and the records.
    EXPECT_TRUE(s.move("uuu", ROW_DISC, COL_VALUE));
    ASSERT_TRUE(pick_at(s, 2, 15, "切断時間", "uuuu")) << s.t.dump();
    ASSERT_TRUE(cells_are(s.t, ROW_DISC, COL_VALUE, "None", 10));
    EXPECT_TRUE(s.move("dd", ROW_CHAT, COL_VALUE));
    ASSERT_TRUE(fill_at(s, 14, 15, "チャタリング", "12")) << s.t.dump();
    EXPECT_TRUE(s.move("d", ROW_SEND, COL_SEND));
    s.t.enter();
    ASSERT_TRUE(s.applied()) << s.t.dump();
    EXPECT_EQ(s.requests("p0", before), (std::vector<std::string>{"910f", "911f", "930c"}));
    // Mode byte: bits 0x30 kept, waiting on, no request; port 10005, destination and its port.
    expect_image(written(s, "p0", 0), s.record_read("p0", 0), {0, 1, 0, 0xC0},
                 {{24, "1527"}, {26, "a20f"}, {28, "c6336409"}, {32, "d0"}});
    expect_image(written(s, "p0", 3), s.record_read("p0", 3), {0, 1, 0, 0xC3}, {});
    expect_image(written(s, "p0", 7), s.record_read("p0", 7), {0, 0, 0, 0xC7}, {});
    s.t.enter();
    ASSERT_TRUE(s.t.wait_gone(MENU_TITLE)) << s.t.dump();
    EXPECT_EQ(s.row_of("192.0.2.10"), -1) << "the restarting unit is dropped";

    // A unit the search could not ask, whose record 7 cannot be read: not
    // opened, nothing written.
    ASSERT_TRUE(s.open("192.0.2.17", EXTEND)) << s.t.dump();
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
    ASSERT_TRUE(s.searched()) << s.lab.sim_log() << s.t.dump();
    ASSERT_TRUE(open_screen(s, "192.0.2.11")) << s.t.dump();

    // 1:N off: the selector on "無効", connections 2 and 3,4 greyed; model 3
    // has no controller settings.
    EXPECT_TRUE(s.shows({{ROW_1TON, 4, "TCP 1:N 接続:  有効      無効", 40},
                         {ROW_CONN1, 4, "接続1  :", 8},
                         {ROW_CONN1, COL[1], "10001", 8},
                         {ROW_CONN1, COL[2], "有効", 8},
                         {ROW_CONN1, COL[3], "有効", 8},
                         {ROW_CONN1, COL[4], "", 18},
                         {ROW_CONN1, COL[5], "", 8},
                         {ROW_CONN2, 4, "接続2  :", 8},
                         {ROW_CONN2, COL[1], "10002", 8},
                         {ROW_CONN2, COL[2], "無効", 8},
                         {ROW_CONN2, COL[3], "無効", 8},
                         {ROW_CONN2, COL[4], "abcdefghijabcdefgh", 18},
                         {ROW_CONN2, COL[5], "5000", 8},
                         {ROW_CONN34, 4, "接続3,4:", 8},
                         {ROW_CONN34, COL[1], "10003", 8},
                         {ROW_CONN34, COL[2], "無効", 8},
                         {ROW_CONN34, COL[3], "", 8},
                         {ROW_CONN34, COL[4], "", 18},
                         {ROW_CONN34, COL[5], "", 8},
                         {ROW_DISC, 4, "", 70}}));
    EXPECT_TRUE(s.wait_bg(ROW_1TON, 29, BLUE));
    EXPECT_TRUE(s.wait_fg(ROW_CONN2, COL[1], GREY) && s.wait_fg(ROW_CONN34, COL[2], GREY));

    // Down from connection 1 skips the greyed rows; Up comes back.
    s.walk({{"Down from 1:N", "d", ROW_CONN1, COL[1]},
            {"Down from connection 1", "d", ROW_SEND, COL_SEND},
            {"Up from apply", "u", ROW_CONN1, COL[1]},
            {"Up from connection 1", "u", ROW_1TON, 29},
            {"Left chooses 有効", "l", ROW_1TON, 19}});
    EXPECT_TRUE(s.wait_fg(ROW_CONN2, COL[1], BLUE)) << "有効 makes the rows usable";
    ASSERT_TRUE(s.move("n", ROW_CONN1, COL[1]));
    EXPECT_TRUE(s.wait_bg(ROW_1TON, 19, YELLOW)) << "the choice stays marked";

    // Connection 1: "0.0.0.0" typed. Connection 2: waiting and request on, a
    // new port and destination port.
    EXPECT_TRUE(s.move("rrr", ROW_CONN1, COL[4]));
    ASSERT_TRUE(fill_at(s, 6, 2, "接続先", "0.0.0.0")) << s.t.dump();
    EXPECT_TRUE(s.move("d", ROW_CONN2, COL[4]));
    EXPECT_TRUE(s.move("ll", ROW_CONN2, COL[2]));
    ASSERT_TRUE(pick_at(s, 8, 15, "接続待ち", "l")) << s.t.dump();
    EXPECT_TRUE(s.move("r", ROW_CONN2, COL[3]));
    ASSERT_TRUE(pick_at(s, 8, 25, "接続要求", "l")) << s.t.dump();
    EXPECT_TRUE(cells_are(s.t, ROW_CONN2, COL[2], "有効      有効", 18));
    EXPECT_TRUE(s.move("ll", ROW_CONN2, COL[1]));
    ASSERT_TRUE(fill_at(s, 8, 5, "自ポート", "10020")) << s.t.dump();
    EXPECT_TRUE(s.move("rrrr", ROW_CONN2, COL[5]));
    ASSERT_TRUE(fill_at(s, 8, 40, "接続先ポート", "5001")) << s.t.dump();
    // Connections 3,4 (two columns; the grid column is kept at most 2): port and waiting.
    EXPECT_TRUE(s.move("d", ROW_CONN34, COL[2]));
    ASSERT_TRUE(pick_at(s, 10, 15, "接続待ち", "l")) << s.t.dump();
    EXPECT_TRUE(s.move("l", ROW_CONN34, COL[1]));
    ASSERT_TRUE(fill_at(s, 10, 5, "自ポート", "10040")) << s.t.dump();
    ASSERT_TRUE(cells_are(s.t, ROW_CONN34, COL[1], "10040", 8));

    // Record 3 goes unanswered: the message, no record 7, still on the button.
    EXPECT_TRUE(s.move("d", ROW_SEND, COL_SEND));
    s.t.enter();
    ASSERT_TRUE(s.closes_message(MSG15, "通信エラー", "")) << s.t.dump();
    EXPECT_NE(s.debug_log().find("send setuprecord 3 error\n"), std::string::npos);
    EXPECT_TRUE(s.record_writes("gc", 7).empty());
    EXPECT_TRUE(s.wait_bg(ROW_SEND, COL_SEND, BLUE));
    s.t.enter();
    ASSERT_TRUE(s.applied()) << s.t.dump();

    // Request code 5 for model 3, waiting on; bits 0x30 kept.
    expect_image(written(s, "gc", 0), s.record_read("gc", 0), {0, 1, 0, 0xC0},
                 {{32, "f5"}, {72, "2427"}, {74, "8913"}, {80, "f5"}});
    expect_image(written(s, "gc", 3), s.record_read("gc", 3), {0, 1, 0, 0xC3},
                 {{126, "3827"}, {128, "f5"}});
    // "0.0.0.0" is written as an empty text; the cut destination keeps the unit's bytes.
    expect_image(written(s, "gc", 7), s.record_read("gc", 7), {0, 0, 0, 0xC7}, {{21, "00"}});
    EXPECT_EQ(s.tcp_in("gc").size(), 2u) << "only the two model checks";
}

TEST(ExtScreen, WifiUnitSendsPortHipHportTextAndNoRecord)
{
    Session s(R"({"units": [{"name": "w1", "ip": "192.0.2.12", "model": 1, "module": "wifi",
      "wifi": {"HIP": "wwwwwwww.example-wwwwwwww.example-wwwwwwww.example-wwwwwwww.", "HPORT": "6000"}, "params": {"0": 47, "2": 8}}]})");
    ASSERT_TRUE(s.searched()) << s.lab.sim_log() << s.t.dump();
    // A refused apply leaves the unit's values as they were: the next opening shows them.
    ASSERT_TRUE(open_screen(s, "192.0.2.12")) << s.t.dump();
    ASSERT_TRUE(fill_at(s, 6, 5, "自ポート", "10009")) << s.t.dump();
    EXPECT_TRUE(s.move("d", ROW_DISC, COL_VALUE));
    ASSERT_TRUE(pick_at(s, 2, 15, "切断時間", "d")) << s.t.dump();
    EXPECT_TRUE(s.move("uu", ROW_SEND, COL_SEND));
    s.t.enter();
    ASSERT_TRUE(s.closes_message(MSG15, "切断時間と定期通知は", "同時に設定できません。"))
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
    EXPECT_TRUE(s.move("rr", ROW_CONN1, COL[3]));
    s.t.enter();
    EXPECT_TRUE(s.move("rr", ROW_CONN1, COL[5]));
    ASSERT_TRUE(fill_at(s, 6, 40, "接続先ポート", "6001")) << s.t.dump();
    EXPECT_TRUE(s.move("r", ROW_CONN1, COL[1]));
    ASSERT_TRUE(fill_at(s, 6, 5, "自ポート", "10007")) << s.t.dump();
    EXPECT_TRUE(s.move("u", ROW_SEND, COL_SEND));
    s.t.enter();
    ASSERT_TRUE(s.applied()) << s.t.dump();
    // The host name longer than the screen keeps is sent whole (the module
    // may journal the text after the tool has shown its message).
    ASSERT_TRUE(s.lab.wait_received("w1", rig::as_bytes("PORT\r\n"))) << s.lab.sim_log();
    EXPECT_EQ(s.requests("w1", before),
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
    ASSERT_TRUE(s.searched() && open_screen(s, "192.0.2.13")) << s.lab.sim_log() << s.t.dump();
    ASSERT_TRUE(s.wait_bg(ROW_CONN1, COL[1], BLUE)) << s.t.dump();
    const size_t before = s.tcp_in("w2").size();
    EXPECT_TRUE(s.move("u", ROW_SEND, COL_SEND));
    s.t.enter();
    ASSERT_TRUE(s.closes_message(MSG15, "通信エラー", "")) << s.t.dump();
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
    ASSERT_TRUE(s.searched()) << s.lab.sim_log() << s.t.dump();

    // A reply whose data digits are not hexadecimal is a failed read.
    ASSERT_TRUE(open_screen(s, "192.0.2.13")) << s.t.dump();
    ASSERT_TRUE(s.closes_message(MSG15, "通信エラー(定期通知)", "")) << s.t.dump();
    ASSERT_TRUE(s.t.wait_text(MENU_TITLE)) << s.t.dump();
    EXPECT_NE(s.debug_log().find("Setting input extend\nsendrecv error\n"), std::string::npos);
    s.t.esc();
    ASSERT_TRUE(s.t.wait_gone(MENU_TITLE)) << s.t.dump();

    ASSERT_TRUE(open_screen(s, "192.0.2.14")) << s.t.dump();
    EXPECT_TRUE(cells_are(s.t, ROW_DISC, 4, "", 70)) << "no disconnection time";
    EXPECT_TRUE(cells_are(s.t, ROW_NOTICE, COL_VALUE, "10sec", 10));
    EXPECT_TRUE(cells_are(s.t, ROW_CHAT, COL_VALUE, "5", 6));
    EXPECT_TRUE(cells_are(s.t, ROW_CHAT, 26, "ms   (設定可能範囲:[0-20 ms])", 30));
    EXPECT_EQ(s.requests("m9", 4), (std::vector<std::string>{"4d5230343031c8", "4d5230343231c8"}));
    EXPECT_TRUE(s.move("d", ROW_CONN1, COL[1]));
    EXPECT_TRUE(s.move("rrr", ROW_CONN1, COL[4]));
    ASSERT_TRUE(fill_at(s, 6, 2, "接続先", "hostA.example")) << s.t.dump();
    EXPECT_TRUE(s.move("d", ROW_NOTICE, COL_VALUE));
    ASSERT_TRUE(pick_at(s, 12, 15, "定期通知", "d")) << s.t.dump();
    ASSERT_TRUE(cells_are(s.t, ROW_NOTICE, COL_VALUE, "30sec", 10));
    EXPECT_TRUE(s.move("d", ROW_CHAT, COL_VALUE));
    ASSERT_TRUE(fill_at(s, 14, 15, "チャタリング", "10")) << s.t.dump();
    // The chattering write goes unanswered once: its message, no record sent.
    EXPECT_TRUE(s.move("d", ROW_SEND, COL_SEND));
    s.t.enter();
    ASSERT_TRUE(s.closes_message(MSG15, "通信エラー(チャタリング)", "")) << s.t.dump();
    EXPECT_TRUE(s.record_writes("m9", 0).empty());
    s.t.enter();
    ASSERT_TRUE(s.applied()) << s.t.dump();
    // Notice 2 as the digits 2F, chattering 10 as 0A; the destination text in record 7.
    const std::string notice = rig::hex(rig::as_bytes("MW04012F\xC8"));
    const std::string chatter = rig::hex(rig::as_bytes("MW04210A\xC8"));
    EXPECT_EQ(s.requests("m9", 6), (std::vector<std::string>{notice, chatter, notice, chatter}));
    const Bytes r7 = written(s, "m9", 7);
    ASSERT_EQ(r7.size(), 130u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r7[21])), "hostA.example");
}

TEST(ExtScreen, Models8And10ReadTheNoticeWithAjAndWriteItWithAs)
{
    Session s(R"({"units": [{"name": "m10", "ip": "192.0.2.15", "model": 10, "notice": 15},
      {"name": "m8", "ip": "192.0.2.16", "model": 8, "notice": 4}]})");
    ASSERT_TRUE(s.searched()) << s.lab.sim_log() << s.t.dump();

    // Code 15 has no text: shown empty, its list starts on choice 1, and
    // left alone it is written back as it was.
    ASSERT_TRUE(open_screen(s, "192.0.2.15")) << s.t.dump();
    EXPECT_TRUE(cells_are(s.t, ROW_NOTICE, 4, "定期通知  :", 30));
    EXPECT_TRUE(cells_are(s.t, ROW_CHAT, 4, "", 70)) << "no chattering time";
    EXPECT_TRUE(s.move("d", ROW_NOTICE, COL_VALUE));
    s.t.enter();
    ASSERT_TRUE(form_at(s, 2, 15, "定期通知")) << s.t.dump();
    EXPECT_TRUE(s.wait_bg(5, 18, BLUE) && s.t.row(5).find("0.05sec") != std::string::npos);
    EXPECT_TRUE(s.t.wait_row(18, "10min")) << "14 choices\n" << s.t.dump();
    s.t.esc();
    EXPECT_TRUE(s.move("d", ROW_SEND, COL_SEND));
    s.t.enter();
    ASSERT_TRUE(s.applied()) << s.t.dump();
    EXPECT_EQ(s.requests("m10", 4), (std::vector<std::string>{"414a20c8", "41532fc8"}));
    s.t.enter();
    ASSERT_TRUE(s.t.wait_gone(MENU_TITLE)) << s.t.dump();

    // F9 in a form ends the program, nothing written.
    ASSERT_TRUE(open_screen(s, "192.0.2.16")) << s.t.dump();
    EXPECT_TRUE(cells_are(s.t, ROW_NOTICE, COL_VALUE, "1sec", 10));
    EXPECT_TRUE(s.move("d", ROW_NOTICE, COL_VALUE));
    s.t.enter();
    ASSERT_TRUE(form_at(s, 2, 15, "定期通知")) << s.t.dump();
    s.t.f9();
    EXPECT_EQ(s.t.wait_exit(), 0);
    EXPECT_EQ(s.requests("m8", 4), (std::vector<std::string>{"414a20c8"}));
}
