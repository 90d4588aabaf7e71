// The fault matrix: every exchange of the table in cells.cpp under each of
// its faults. One lab per exchange holds one unit per fault; the tool
// searches once and the operator drives it to the exchange on each unit in
// turn (a long row is driven in parts, each in a lab of its own). For every
// cell: the tool does not end, its wait on the failed
// request stays under three times the documented bound, it shows its
// message and logs its line, and the unit receives nothing after the failed
// request but that request again. A cell the tool goes on through (a
// trickled or oversized answer) shows what success shows and logs no
// failure instead.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "device/KIVRAXPort.h"
#include "tests/faults/cells.h"
#include "tests/screens/operator.h"

using namespace op;
using faults::Cell;
using faults::Exchange;
using faults::Flow;

namespace {

constexpr int MAIL_UNIT_MSG = 15;  // message box row of the mail screen's unit commands
constexpr int MAIL_SERVER_ROW = 4, MAIL_SERVER_COL = 27;  // the mail screen's first item
const char* const EXT_HEADER = "自ポート  接続待ち";

long long now_us()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::string ip_of(int k) { return std::string("192.0.2.").append(std::to_string(10 + k)); }
std::string name_of(int k) { return std::string("u").append(std::to_string(k)); }

// The documented bound of the failed exchange's wait.
int bound_ms(const Cell& c)
{
    if (c.fault == faults::REFUSED) return TCP_CONNECT_MS;
    if (c.x->flow == Flow::Search && c.x->proto == faults::Proto::Udp &&
        faults::prefix_bytes(c.x->on) == rig::unhex("000000f6"))
        return SEARCH_FIRST_MS;  // no answer comes: the search waits for the first one
    if (c.x->proto == faults::Proto::Udp) return UDP_REPLY_MS + UDP_LATER_MS;
    // Pieces that keep coming within the receive time-out end at the reply's deadline.
    return c.fault == faults::TRICKLE_LATE ? TCP_REPLY_DEADLINE_MS : TCP_IO_MS;
}

bool is_request(const rig::JournalEntry& e)
{
    // A request the unit kept silent on is journalled as ignored.
    return e.dir == "in" && (e.event.empty() || e.event == "ignored") &&
           e.local.rfind("255.255.255.255", 0) != 0;
}

bool matches(const Exchange& x, const std::vector<uint8_t>& bytes)
{
    if (rig::starts_with(bytes, faults::prefix_bytes(x.on))) return true;
    return x.also_on != nullptr && rig::starts_with(bytes, faults::prefix_bytes(x.also_on));
}

// The row and column of "設定反映" on the screen, once it is there.
bool find_apply(Session& s, int* row, int* col)
{
    return s.t.wait_for(
        [&] {
            for (int r = 1; r < 23; r++) {
                if (s.t.row(r).find("設定反映") == std::string::npos) continue;
                for (int c = 0; c < 72; c++) {
                    if (s.t.text(r, c, 8) != "設定反映") continue;
                    *row = r;
                    *col = c;
                    return true;
                }
            }
            return false;
        },
        20000);
}

// Which cells are drawn on blue: the current item among them.
std::string blue_cells(Session& s)
{
    std::string out;
    for (int r = 0; r < 24; r++)
        for (int c = 0; c < 80; c++) out += s.t.bg(r, c) == BLUE ? '1' : '0';
    return out;
}

// Moves down to "設定反映" and presses Enter. The screen reads its unit once
// its frame shows, so the first Down waits until an item is current; each
// Down is then seen to land, and the screen to go quiet, before the next.
bool apply(Session& s)
{
    int row = 0, col = 0;
    if (!find_apply(s, &row, &col)) return false;
    if (!s.t.wait_for([&] { return blue_cells(s).find('1', 80) < 23 * 80; }, 20000)) return false;
    s.t.settle();
    for (int k = 0; k < 12 && s.t.bg(row, col) != BLUE; k++) {
        const std::string before = blue_cells(s);
        s.t.down();
        if (!s.t.wait_for([&] { return blue_cells(s) != before; })) return false;
        s.t.settle();
    }
    if (s.t.bg(row, col) != BLUE) return false;
    s.t.enter();
    return true;
}

// Up from the mail screen's first item, the server, wraps to "設定反映".
bool apply_mail(Session& s)
{
    int row = 0, col = 0;
    if (!s.wait_bg(MAIL_SERVER_ROW, MAIL_SERVER_COL, BLUE, 20000) || !find_apply(s, &row, &col))
        return false;
    s.t.up();
    if (!s.wait_bg(row, col, BLUE)) return false;
    s.t.enter();
    return true;
}

// From the server down to SMTP-AUTH, ON, and the credentials window's OK
// as it is; back up to the server.
bool auth_on(Session& s)
{
    if (!s.wait_bg(MAIL_SERVER_ROW, MAIL_SERVER_COL, BLUE, 20000) ||
        !s.move("dd", MAIL_SERVER_ROW + 2, MAIL_SERVER_COL))
        return false;
    s.keys("nn");
    if (!s.t.wait_text("SMTP-AUTH設定")) return false;
    s.t.settle();
    s.keys("ddn");
    if (!s.t.wait_gone("SMTP-AUTH設定")) return false;
    return s.keys("uu");
}

// Drives the tool to the cell's exchange on unit k; true when it got there.
bool drive(Session& s, const Cell& c, int k)
{
    const Flow f = c.x->flow;
    if (f == Flow::Search || f == Flow::SearchKept) return true;
    if (!s.open_menu(ip_of(k))) return false;
    switch (f) {
    case Flow::Menu:
        s.choose(EXTEND);  // the groups after the IP screen ask the model first
        return true;
    case Flow::Ip:
        s.choose(IP);
        if (!s.t.wait_row(21, "設定反映", 20000)) return false;
        s.t.settle();
        if (!s.move("u", 21, 26)) return false;
        s.t.enter();
        return true;
    case Flow::ExtOpen:
    case Flow::ExtApply:
        s.choose(EXTEND);
        if (f == Flow::ExtOpen) return true;
        return s.t.wait_text(EXT_HEADER, 20000) && apply(s);
    case Flow::MailOpen:
    case Flow::MailApply:
    case Flow::MailAuthApply:
        s.choose(MAIL);
        if (f == Flow::MailAuthApply && !auth_on(s)) return false;
        return f == Flow::MailOpen || apply_mail(s);
    case Flow::EtcOpen:
    case Flow::EtcApply:
        s.choose(ETC);
        return f == Flow::EtcOpen || apply(s);
    default:
        return false;
    }
}

bool is_apply(Flow f)
{
    return f == Flow::Ip || f == Flow::ExtApply || f == Flow::EtcApply || f == Flow::MailApply ||
           f == Flow::MailAuthApply;
}

// The screen stays open after a failed apply, but a failed write of the
// mail server settings (the message above the unit commands') closes it.
bool stays_open(const Exchange& x)
{
    const bool mail = x.flow == Flow::MailApply || x.flow == Flow::MailAuthApply;
    return is_apply(x.flow) && !(mail && x.msg_row != MAIL_UNIT_MSG);
}

// What success shows: an apply's message (the unit then leaves the list), or
// the screen left with Esc once it opened (the settings menu again).
bool succeeded(Session& s, const Cell& c)
{
    if (is_apply(c.x->flow)) return s.applied();
    if (c.x->flow == Flow::Menu && !s.t.wait_text(EXT_HEADER, 20000)) return false;
    s.t.esc();
    return s.t.wait_text(MENU_TITLE, 20000);
}

// From the message box (or the settings menu) back to the device list.
bool back_to_list(Session& s, const Cell& c)
{
    const Flow f = c.x->flow;
    if (f == Flow::Search || f == Flow::SearchKept) return true;
    const bool pass = faults::passes(c);
    if (pass && is_apply(f)) {
        s.t.enter();
        // The list is drawn again at once (without the unit, but for a WiFi
        // module's IP screen): its rows are read only once that is done.
        if (!s.t.wait_gone("設定完了しました。") || !s.t.wait_gone(MENU_TITLE)) return false;
        s.t.settle();
        return true;
    }
    if (!pass) {
        s.t.enter();
        if (stays_open(*c.x)) {
            s.t.settle();
            s.t.esc();
        }
    }
    if (!s.t.wait_text(MENU_TITLE)) return false;
    s.t.settle();
    s.t.esc();
    return s.t.wait_gone(MENU_TITLE);
}

// The tool's wait on the failed request: from the last failed request the
// unit received before the outcome was seen to the tool's next request to
// any unit, or to the outcome when nothing came before it.
long long wait_us(const Session& s, const Cell& c, int k, long long seen_us)
{
    const std::vector<rig::JournalEntry> all = s.lab.journal();
    long long failed = -1;
    for (const rig::JournalEntry& e : all)
        if (e.unit == name_of(k) && e.dir == "in" && e.t_us <= seen_us && matches(*c.x, e.bytes))
            failed = e.t_us;
    if (failed < 0) return -1;
    long long next = seen_us;
    for (const rig::JournalEntry& e : all)
        if (is_request(e) && e.t_us > failed) {
            next = std::min(next, e.t_us);
            break;
        }
    return next - failed;
}

// The requests of the cell's exchange the unit received.
int sent_count(const Session& s, const Cell& c, int k)
{
    int n = 0;
    for (const rig::JournalEntry& e : s.lab.received(name_of(k)))
        if (is_request(e) && rig::starts_with(e.bytes, faults::prefix_bytes(c.x->on))) n++;
    return n;
}

// The answer to the cell's request went out whole (as far as its length is
// known) before the tool's next request to the unit: a tool that took the
// first pieces for the whole answer moves on, or closes, before the rest.
bool taken_whole(const Session& s, const Cell& c, int k)
{
    int seen = 0;
    int conn = -1;
    size_t bytes = 0;
    for (const rig::JournalEntry& e : s.lab.journal()) {
        if (e.unit != name_of(k)) continue;
        // The request may be a broadcast (discovery); the next one is not.
        if (conn < 0 && e.dir == "in" && rig::starts_with(e.bytes, faults::prefix_bytes(c.x->on))) {
            if (++seen == c.x->from) conn = e.conn;
        } else if (is_request(e)) {
            if (conn >= 0) break;
        } else if (conn >= 0 && e.dir == "out" && e.conn == conn) {
            bytes += e.bytes.size();
        }
    }
    return conn >= 0 && bytes >= static_cast<size_t>(c.x->reply_len);
}

// Requests the unit received after its from-th matching request that are
// not that request again, as hex.
std::vector<std::string> sent_after(const Session& s, const Cell& c, int k)
{
    std::vector<std::string> extra;
    int seen = 0;
    for (const rig::JournalEntry& e : s.lab.received(name_of(k))) {
        if (!is_request(e)) continue;
        if (seen >= c.x->from && !matches(*c.x, e.bytes)) extra.push_back(rig::hex(e.bytes));
        if (rig::starts_with(e.bytes, faults::prefix_bytes(c.x->on))) seen++;
    }
    return extra;
}

struct Totals {
    int run = 0, passing = 0;
    long long longest_us = 0;
    int longest_bound = 0;
    std::string longest_cell;
};
Totals totals;

struct Report : ::testing::Environment {
    void TearDown() override
    {
        if (totals.run == 0) return;  // only other stories of this program ran
        std::printf(
            "fault matrix: %d cells run, %d passing; longest wait %.0f ms (%s), bound %d ms\n",
            totals.run, totals.passing, totals.longest_us / 1000.0, totals.longest_cell.c_str(),
            totals.longest_bound);
    }
};
const auto* const report = ::testing::AddGlobalTestEnvironment(new Report);

std::string plant_of(const std::vector<Cell>& cs)
{
    std::string plant = R"({"units": [)";
    for (size_t k = 0; k < cs.size(); k++) {
        if (k > 0) plant += ",\n";
        plant += "{\"name\": \"" + name_of(static_cast<int>(k)) + "\", \"ip\": \"" +
                 ip_of(static_cast<int>(k)) + "\", " + cs[k].x->unit + ", " +
                 faults::fault_fields(cs[k]) + "}";
    }
    return plant + "]}";
}

// A row whose cells wait long in all is run in parts, each in a lab of its
// own that holds every unit of the row (the search meets the same plant),
// so that no one part holds up a run of the suite. A part drives cells
// first..first+count-1 of the row. The search's cells are all seen after
// its one search: a search row is never split.
struct Part {
    int row;
    int first;
    int count;
    int index;  // 1..parts of the row
    int parts;
};

// gtest names a part in its listings and failures.
void PrintTo(const Part& p, std::ostream* os)
{
    *os << "row " << p.row << ", cells " << p.first + 1 << ".." << p.first + p.count;
}

constexpr int DRIVE_MS = 2000;  // reaching a cell's exchange and leaving it again
constexpr int PART_MS = 12000;  // the most a part should take, unless one cell takes more

// What a cell takes: the driving, and the whole bound where no answer, or
// none whole in time, comes (the tool sees any other fault at once).
int cell_ms(const Cell& c)
{
    constexpr unsigned WAITED =
        faults::SILENT | faults::SLOW | faults::CUT_1 | faults::CUT_LAST | faults::TRICKLE_LATE;
    return DRIVE_MS + ((c.fault & WAITED) != 0 ? bound_ms(c) : 0);
}

std::vector<Part> parts_of_rows()
{
    std::vector<Part> out;
    for (int r = 0; r < faults::kExchangeCount; r++) {
        const Exchange& x = faults::kExchanges[r];
        const std::vector<Cell> cs = faults::cells_of(x);
        const int n = static_cast<int>(cs.size());
        const bool search = x.flow == Flow::Search || x.flow == Flow::SearchKept;
        const size_t begin = out.size();
        int first = 0, waits = 0;  // the part so far
        for (int k = 0; k < n; k++) {
            if (!search && k > first && waits + cell_ms(cs[k]) > PART_MS) {
                out.push_back({r, first, k - first, 0, 0});
                first = k;
                waits = 0;
            }
            waits += cell_ms(cs[k]);
        }
        out.push_back({r, first, n - first, 0, 0});
        for (size_t p = begin; p < out.size(); p++) {
            out[p].index = static_cast<int>(p - begin) + 1;
            out[p].parts = static_cast<int>(out.size() - begin);
        }
    }
    return out;
}

class FaultMatrix : public ::testing::TestWithParam<Part> {};

TEST_P(FaultMatrix, EachFaultOfTheExchange)
{
    const Part part = GetParam();
    const Exchange& x = faults::kExchanges[part.row];
    const std::vector<Cell> cs = faults::cells_of(x);
    ASSERT_FALSE(cs.empty());
    ASSERT_LE(part.first + part.count, static_cast<int>(cs.size()));
    Session s(plant_of(cs), {"-l"});
    ASSERT_TRUE(s.searched()) << s.lab.sim_log() << s.t.dump();
    const long long searched = now_us();
    const size_t failing = static_cast<size_t>(
        std::count_if(cs.begin(), cs.end(), [](const Cell& c) { return !faults::passes(c); }));

    for (int unit = part.first; unit < part.first + part.count; unit++) {
        const Cell& c = cs[unit];
        const std::string name = faults::cell_name(c);
        SCOPED_TRACE(name);
        const ::testing::TestResult* result =
            ::testing::UnitTest::GetInstance()->current_test_info()->result();
        const int failures_before = result->total_part_count();
        const size_t logged = x.log ? occurrences(s.debug_log(), x.log) : 0;
        const bool pass = faults::passes(c);
        totals.run++;

        ASSERT_TRUE(drive(s, c, unit)) << s.t.dump();
        const long long asked = now_us();  // the key that starts the exchange went out
        long long seen = searched;
        if (x.flow == Flow::Search || x.flow == Flow::SearchKept) {
            EXPECT_EQ(s.row_of(ip_of(unit)) >= 0, x.flow == Flow::SearchKept || pass) << s.t.dump();
            if (x.message) {
                EXPECT_TRUE(s.t.wait_row(LIST_FIRST_ROW, x.message)) << s.t.dump();
            }
            if (x.log) {
                EXPECT_GE(occurrences(s.debug_log(), x.log), failing) << s.debug_log();
            }
        } else if (pass) {
            // The request reached the unit before the outcome is looked at.
            EXPECT_TRUE(s.t.wait_for([&] { return sent_count(s, c, unit) >= x.from; }));
            ASSERT_TRUE(succeeded(s, c)) << s.t.dump();
            seen = now_us();
            if (x.log) {
                EXPECT_EQ(occurrences(s.debug_log(), x.log), logged) << s.debug_log();
            }
        } else {
            ASSERT_TRUE(s.wait_message(x.msg_row, x.message, "")) << s.t.dump();
            seen = now_us();
            if (x.log) {
                EXPECT_TRUE(s.t.wait_for([&] {
                    return occurrences(s.debug_log(), x.log) > logged;
                })) << s.debug_log();
            }
        }
        // A refused connection never reaches the unit: the wait runs from the key.
        const long long waited =
            c.fault == faults::REFUSED ? seen - asked : wait_us(s, c, unit, seen);
        EXPECT_GE(waited, 0) << "the failed request reached the unit";
        EXPECT_LE(waited, 3000LL * bound_ms(c));
        if (waited > totals.longest_us) {
            totals.longest_us = waited;
            totals.longest_bound = bound_ms(c);
            totals.longest_cell = name;
        }
        ASSERT_TRUE(back_to_list(s, c)) << s.t.dump();
        if (x.flow != Flow::SearchKept && !pass) {
            EXPECT_EQ(sent_after(s, c, unit), std::vector<std::string>{});
        }
        if (pass) {
            // The simulator journals an answer after sending it: its line
            // may come after the screen has moved on.
            EXPECT_TRUE(s.t.wait_for([&] { return taken_whole(s, c, unit); }));
        }
        if (result->total_part_count() == failures_before) totals.passing++;
        std::printf("cell %-40s wait %6.0f ms (bound %d ms)\n", name.c_str(), waited / 1000.0,
                    bound_ms(c));
    }
    // Nothing reached a unit after its failure while the others were driven.
    for (int k = part.first; k < part.first + part.count; k++) {
        if (x.flow == Flow::SearchKept || faults::passes(cs[k])) continue;
        EXPECT_EQ(sent_after(s, cs[k], k), std::vector<std::string>{}) << faults::cell_name(cs[k]);
    }
    s.t.f9();
    EXPECT_EQ(s.t.wait_exit(), 0) << s.t.dump();
}

// "32_samplingwriteAP", or "32_samplingwriteAP_1of2" for a row in parts.
std::string part_name(const ::testing::TestParamInfo<Part>& info)
{
    const Part& p = info.param;
    std::string out = std::to_string(p.row) + "_";
    for (const char* c = faults::kExchanges[p.row].name; *c; c++)
        if ((*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9'))
            out += *c;
    if (p.parts > 1) {
        out += '_';
        out += std::to_string(p.index) + "of" + std::to_string(p.parts);
    }
    return out;
}

INSTANTIATE_TEST_SUITE_P(Exchanges, FaultMatrix, ::testing::ValuesIn(parts_of_rows()), part_name);

}  // namespace
