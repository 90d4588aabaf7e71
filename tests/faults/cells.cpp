// The exchanges of the fault matrix and the faults put on each: every
// exchange of the search and of every settings screen, one row each; a row's
// cells are its faults. Rows that are one kind of exchange (a parameter read,
// a lettered write, a record write) share the faults between them, so each
// kind meets every fault while the whole matrix stays short, and a row keeps
// to the eight units the device list shows. A trickled or oversized answer
// is taken as if it had come whole, except where a row says otherwise.
#include "tests/faults/cells.h"

#include <cstdio>

#include "rig/lab.h"

namespace faults {

namespace {

constexpr unsigned TCP_ALL = SILENT | SLOW | CUT_1 | CUT_LAST | GARBAGE | CLOSE;
constexpr unsigned UDP_ALL = SILENT | SLOW | CUT_1 | CUT_LAST | GARBAGE;
// A reply the tool takes without examining it (a record image, the answer
// to a lettered write) passes whatever its bytes: no junk or echo cells.
constexpr unsigned UDP_UNEXAMINED = UDP_ALL & ~GARBAGE;
constexpr unsigned TCP_UNEXAMINED = TCP_ALL & ~GARBAGE;

constexpr const char* XPORT = R"("model": 0)";
constexpr const char* GC = R"("model": 3, "module": "gc", "devtype": "X6")";
constexpr const char* GC_MAIL = R"("model": 0, "module": "gc", "devtype": "X6")";
constexpr const char* WIFI = R"("module": "wifi")";
constexpr const char* M8 = R"("model": 8)";
constexpr const char* M9 = R"("model": 9)";
constexpr const char* M10 = R"("model": 10)";

constexpr int MENU = 18;      // message box row of the settings menu and IP screens
constexpr int SETTINGS = 15;  // message box row of the settings screens
constexpr int MAIL_READS = 10;  // the mail alert screen's own reads and its record writes
constexpr int MAIL_UNIT = 15;   // the mail alert screen's unit commands on apply
const char* const COMM = "通信エラー";
// Neither a trickled nor an oversized answer is seen by the tool.
constexpr unsigned ODD = TRICKLE | OVERSIZED;
// A WiFi set awaits no answer: whatever the module does with the text, the
// tool has sent it and says so.
constexpr unsigned SET = SILENT | CLOSE;

}  // namespace

// clang-format off
const Exchange kExchanges[] = {
    // ---- the search ----
    // Each piece of a trickled discovery answer is a short answer of its own.
    {"discovery", Flow::Search, XPORT, "000000f6", 1, Proto::Udp, 30, " 検索失敗", 0, nullptr,
     SILENT | CUT_1 | GARBAGE | TRICKLE | TRICKLE_LATE, nullptr, 0},
    {"discovery (oversized)", Flow::Search, XPORT, "000000f6", 1, Proto::Udp, 30, nullptr, 0,
     nullptr, OVERSIZED, nullptr},
    {"record 0 read", Flow::Search, XPORT, "000000e0", 1, Proto::Udp, 124, nullptr, 0,
     "Failed to Get SetupRecord 0\n", UDP_UNEXAMINED | ODD | TRICKLE_LATE, nullptr},
    {"record 5 read", Flow::Search, XPORT, "000000e5", 1, Proto::Udp, 130, nullptr, 0,
     "Failed to Get SetupRecord 5\n", SILENT | CUT_1, nullptr},
    {"record 3 read", Flow::Search, XPORT, "000000e3", 1, Proto::Udp, 130, nullptr, 0,
     "Failed to Get SetupRecord 3\n", SLOW | CUT_LAST, nullptr},
    {"record 4 read", Flow::Search, XPORT, "000000e4", 1, Proto::Udp, 130, nullptr, 0,
     "Failed to Get SetupRecord 4\n", CUT_1 | SILENT, nullptr},
    {"record 6 read", Flow::Search, XPORT, "000000e6", 1, Proto::Udp, 130, nullptr, 0,
     "Failed to Get SetupRecord 6\n", SILENT | CUT_LAST, nullptr},
    {"record 7 read", Flow::Search, XPORT, "000000e7", 1, Proto::Udp, 130, nullptr, 0,
     "Failed to Get SetupRecord 7\n", SLOW | CUT_1, nullptr},
    {"extra firmware", Flow::SearchKept, GC, "000000f4", 1, Proto::Udp, 33, nullptr, 0,
     "Warning: Failed to Get ExtraFirm Info\n", SILENT | CUT_LAST | CUT_1 | ODD | TRICKLE_LATE,
     nullptr},
    {"WiFi dump", Flow::Search, WIFI, "'DUMP", 1, Proto::Tcp, 0, nullptr, 0,
     "socket recv error\n", SILENT | SLOW | CLOSE | GARBAGE | ODD | TRICKLE_LATE, nullptr},
    {"WiFi version", Flow::Search, WIFI, "'VER", 1, Proto::Tcp, 0, nullptr, 0,
     "recv error\n", SILENT | SLOW | ODD | TRICKLE_LATE, nullptr},

    // ---- the settings menu: "UU" and "MI" both fail, from the search on ----
    {"model query UU/MI", Flow::Menu, XPORT, "5555", 1, Proto::Tcp, 2, "通信エラー。", MENU,
     nullptr, CLOSE | REFUSED | ODD, "4d49c8"},

    // ---- the IP screen ----
    {"record 0 write (IP)", Flow::Ip, XPORT, "000000c0", 1, Proto::Udp, 4, COMM, MENU,
     "Failed to Send SetupRecord 0\n", UDP_UNEXAMINED | ODD | TRICKLE_LATE, nullptr},
    {"WiFi IP set", Flow::Ip, WIFI, "'IP", 1, Proto::Tcp, 0, COMM, MENU, "connect timeout failed\n",
     SET, nullptr, SET},

    // ---- the input extension screen ----
    {"disconnection time read", Flow::ExtOpen, XPORT, "9000", 1, Proto::Tcp, 2, COMM, SETTINGS,
     "disconnection time get error\n", TCP_ALL | ECHO | TRICKLE, nullptr},
    {"notice read", Flow::ExtOpen, XPORT, "9000", 2, Proto::Tcp, 2, COMM, SETTINGS,
     "get noticetime error\n", SILENT | ECHO | OVERSIZED, nullptr},
    {"chattering read", Flow::ExtOpen, XPORT, "9002", 1, Proto::Tcp, 2, COMM, SETTINGS,
     "get chattering time  error\n", GARBAGE | CUT_1, nullptr},
    {"disconnection time write", Flow::ExtApply, XPORT, "91", 1, Proto::Tcp, 2, COMM, SETTINGS,
     "set disconnection time error\n", TCP_ALL | ECHO, nullptr},
    {"notice write", Flow::ExtApply, XPORT, "91", 2, Proto::Tcp, 2, COMM, SETTINGS,
     "set noticetime error\n", CLOSE | ECHO, nullptr},
    {"chattering write", Flow::ExtApply, XPORT, "93", 1, Proto::Tcp, 2, COMM, SETTINGS,
     "setdidetecttime error\n", SLOW | GARBAGE | ODD, nullptr},
    {"record 0 write (extension)", Flow::ExtApply, XPORT, "000100c0", 1, Proto::Udp, 4, COMM,
     SETTINGS, "send setuprecord 0 error\n", SILENT | CUT_1, nullptr},
    {"record 3 write", Flow::ExtApply, XPORT, "000100c3", 1, Proto::Udp, 4, COMM, SETTINGS,
     "send setuprecord 3 error\n", SLOW | CUT_LAST | ODD | TRICKLE_LATE, nullptr},
    {"record 7 write", Flow::ExtApply, XPORT, "000000c7", 1, Proto::Udp, 4, COMM, SETTINGS,
     "send setuprecord 7 error\n", SILENT | SLOW, nullptr},
    {"WiFi extension set", Flow::ExtApply, WIFI, "'PORT", 1, Proto::Tcp, 0, COMM, SETTINGS,
     "set extention error\n", SET, nullptr, SET},
    {"notice memory read", Flow::ExtOpen, M9, "'MR0401", 1, Proto::Tcp, 9, "通信エラー(定期通知)",
     SETTINGS, "sendrecv error\n", TCP_ALL | ODD, nullptr},
    {"chattering memory read", Flow::ExtOpen, M9, "'MR0421", 1, Proto::Tcp, 9,
     "通信エラー(チャタリング)", SETTINGS, "sendrecv error\n", SILENT | GARBAGE, nullptr},
    {"notice memory write", Flow::ExtApply, M9, "'MW0401", 1, Proto::Tcp, 5,
     "通信エラー(定期通知)", SETTINGS, "send recv error\n", TCP_UNEXAMINED | ODD, nullptr},
    {"chattering memory write", Flow::ExtApply, M9, "'MW0421", 1, Proto::Tcp, 5,
     "通信エラー(チャタリング)", SETTINGS, "sendrecv error\n", CLOSE | CUT_LAST, nullptr},
    {"notice read (AJ)", Flow::ExtOpen, M8, "'AJ", 1, Proto::Tcp, 6, COMM, SETTINGS,
     "sendrecv error\n", (TCP_ALL & ~GARBAGE) | ODD, nullptr},
    {"notice write (AS)", Flow::ExtApply, M8, "'AS", 1, Proto::Tcp, 4, COMM, SETTINGS,
     "send recv error\n", TCP_UNEXAMINED | TRICKLE, nullptr},

    // ---- the other settings ----
    {"sampling read (MR0491)", Flow::EtcOpen, M8, "'MR0491", 1, Proto::Tcp, 9, COMM, SETTINGS,
     "sendrecv error\n", TCP_ALL, nullptr},
    {"range read (AJ)", Flow::EtcOpen, M8, "'AJ", 2, Proto::Tcp, 6, COMM, SETTINGS,
     "sendrecv error\n", SILENT | CLOSE | CUT_LAST, nullptr},
    {"sampling write (AP)", Flow::EtcApply, M8, "'AP", 1, Proto::Tcp, 4, COMM, SETTINGS,
     "sendrecv error\n", TCP_UNEXAMINED | OVERSIZED, nullptr},
    {"range write (AR)", Flow::EtcApply, M8, "'AR", 1, Proto::Tcp, 5, COMM, SETTINGS,
     "sendrecv error\n", CLOSE | CUT_1, nullptr},
    {"thermocouple read (TJ)", Flow::EtcOpen, M10, "'TJ", 1, Proto::Tcp, 15, COMM, SETTINGS,
     "sendrecv error\n", SILENT | CUT_LAST | GARBAGE | ODD | TRICKLE_LATE, nullptr},
    {"thermocouple write (TC)", Flow::EtcApply, M10, "'TC", 1, Proto::Tcp, 6, COMM, SETTINGS,
     "sendrecv error\n", SLOW | SILENT, nullptr},
    {"scale write (TF)", Flow::EtcApply, M10, "'TF", 1, Proto::Tcp, 13, COMM, SETTINGS,
     "sendrecv error\n", CUT_LAST | CUT_1 | TRICKLE_LATE, nullptr},
    {"output read (MR0B03)", Flow::EtcOpen, M9, "'MR0B03", 1, Proto::Tcp, 13, COMM, SETTINGS,
     "sendrecv error\n", TCP_ALL | TRICKLE_LATE, nullptr},
    {"output write (AQ)", Flow::EtcApply, M9, "'AQ", 1, Proto::Tcp, 8, COMM, SETTINGS,
     "sendrecv error\n", TCP_UNEXAMINED, nullptr},

    // ---- the mail alert screen ----
    {"DI mail enable read", Flow::MailOpen, XPORT, "9004", 1, Proto::Tcp, 2, COMM, SETTINGS,
     "getdimailenable failed\n", SILENT | ECHO | GARBAGE, nullptr},
    {"DI mail logic read", Flow::MailOpen, XPORT, "9003", 1, Proto::Tcp, 2, COMM, SETTINGS,
     "getdimailelogic failed\n", CLOSE | CUT_1, nullptr},
    {"DI mail memory read (MR0432)", Flow::MailOpen, M9, "'MR0432", 1, Proto::Tcp, 11, COMM,
     SETTINGS, "sendrecv failed\n", SILENT | GARBAGE | CUT_LAST, nullptr},
    {"threshold read (AK)", Flow::MailOpen, M8, "'AK", 1, Proto::Tcp, 13, COMM, MAIL_READS,
     "getadcthreshold failed\n", SILENT | GARBAGE | CLOSE | ODD | TRICKLE_LATE, nullptr},
    {"DO alert read (DJ)", Flow::MailOpen, M10, "'DJ", 1, Proto::Tcp, 11, COMM, MAIL_READS,
     "getdoalertset failed\n", GARBAGE | CUT_LAST | TRICKLE, nullptr},
    {"range read (AJ, mail)", Flow::MailOpen, M10, "'AJ", 1, Proto::Tcp, 6, COMM, MAIL_READS,
     "getairange failed\n", SILENT | CLOSE | OVERSIZED, nullptr},
    {"DI mail enable write", Flow::MailApply, XPORT, "95", 1, Proto::Tcp, 2, COMM, MAIL_UNIT,
     "dimail setting send error\n", CLOSE | ECHO | TRICKLE, nullptr},
    {"DI mail logic write", Flow::MailApply, XPORT, "94", 1, Proto::Tcp, 2, COMM, MAIL_UNIT,
     "maillogic setting send error\n", SILENT | GARBAGE | OVERSIZED, nullptr},
    {"DI mail memory write (MW0432)", Flow::MailApply, M9, "'MW0432", 1, Proto::Tcp, 5, COMM,
     MAIL_UNIT, "sendrecv failed\n", TCP_UNEXAMINED | ODD, nullptr},
    {"threshold write (AL)", Flow::MailApply, M8, "'AL", 1, Proto::Tcp, 13, COMM, MAIL_UNIT,
     "threshold setting send error\n", SILENT | CUT_LAST | ODD | TRICKLE_LATE, nullptr},
    {"DO alert write (DL)", Flow::MailApply, M10, "'DL", 1, Proto::Tcp, 10, COMM, MAIL_UNIT,
     "DOalert setting send error\n", CLOSE | CUT_1 | TRICKLE, nullptr},
    {"DO alert start (DS)", Flow::MailApply, M10, "'DS", 1, Proto::Tcp, 5, COMM, MAIL_UNIT,
     "DOalert setting send error\n", SILENT | SLOW | OVERSIZED, nullptr},
    {"record 1 write", Flow::MailAuthApply, GC_MAIL, "000100c1", 1, Proto::Udp, 4, "通信エラー1",
     MAIL_READS, "sending setuprecord1 failed\n", SILENT | CUT_1 | OVERSIZED, nullptr},
    {"record 3 write (mail)", Flow::MailApply, XPORT, "000100c3", 1, Proto::Udp, 4, "通信エラー3",
     MAIL_READS, "sending setuprecord3 failed\n", UDP_UNEXAMINED | ODD | TRICKLE_LATE, nullptr},
    {"record 4 write", Flow::MailApply, XPORT, "000100c4", 1, Proto::Udp, 4, "通信エラー4",
     MAIL_READS, "sending setuprecord4 failed\n", SILENT | CUT_1, nullptr},
    {"record 5 write", Flow::MailApply, XPORT, "000100c5", 1, Proto::Udp, 4, "通信エラー5",
     MAIL_READS, "sending setuprecord5 failed\n", SLOW | TRICKLE_LATE, nullptr},
    {"record 6 write", Flow::MailApply, XPORT, "000100c6", 1, Proto::Udp, 4, "通信エラー6",
     MAIL_READS, "sending setuprecord6 failed\n", CUT_LAST | OVERSIZED, nullptr},
    {"record 7 write (mail)", Flow::MailApply, XPORT, "000000c7", 1, Proto::Udp, 4, "通信エラー7",
     MAIL_READS, "sending setuprecord7 failed\n", SILENT | TRICKLE, nullptr},
    {"WiFi mail set", Flow::MailApply, WIFI, "'MHOST", 1, Proto::Tcp, 0, "通信エラー1", MAIL_READS,
     "sending setuprecord1 failed\n", SET, nullptr, SET},
};
// clang-format on
const int kExchangeCount = static_cast<int>(sizeof kExchanges / sizeof kExchanges[0]);

std::vector<Cell> cells_of(const Exchange& x)
{
    std::vector<Cell> out;
    for (unsigned bit = 1; bit <= OVERSIZED; bit <<= 1) {
        if ((x.faults & bit) == 0) continue;
        const bool tcp_only = bit == CLOSE || bit == ECHO || bit == REFUSED;
        if (tcp_only && x.proto != Proto::Tcp) continue;
        if (bit == CUT_LAST && x.reply_len <= 2) continue;  // the same as CUT_1
        if ((bit == CUT_1 || bit == CUT_LAST) && x.reply_len == 0) continue;
        out.push_back({&x, static_cast<Fault>(bit)});
    }
    return out;
}

bool passes(const Cell& c) { return (c.x->passes & c.fault) != 0; }

std::string cell_name(const Cell& c)
{
    static const char* const names[] = {"silent",      "slow",       "cut to 1", "cut by 1",
                                        "garbage",     "early close", "wrong echo", "refused",
                                        "trickle",     "late trickle", "oversized"};
    int k = 0;
    while ((1u << k) != c.fault) k++;
    return std::string(c.x->name) + " / " + names[k];
}

namespace {

// Pieces of an answer: a datagram answer in four, 20 ms apart (within the
// tool's wait for the rest) or 600 ms apart (past it); a TCP answer a byte
// at a time, 20 ms apart, or a second apart, each piece within the receive
// time-out but the answer past the whole reply's deadline. A WiFi answer,
// of no fixed length, trickles 16 bytes at a time within the time-out.
std::string trickle(const Cell& c, int ms)
{
    const bool udp = c.x->proto == Proto::Udp;
    const std::string p = udp ? "udp_" : "";
    int bytes = 1;
    if (udp) bytes = (c.x->reply_len + 3) / 4;
    if (!udp && c.x->reply_len == 0 && c.fault == TRICKLE) bytes = 16;
    return "\"" + p + "trickle_ms\": " + std::to_string(ms) + ", \"" + p +
           "trickle_bytes\": " + std::to_string(bytes);
}

std::string knob(const Cell& c)
{
    const bool udp = c.x->proto == Proto::Udp;
    const std::string p = udp ? "udp_" : "";
    switch (c.fault) {
    case SILENT:
        return "\"" + p + "silent\": true";
    case SLOW:
        return "\"" + p + "delay_ms\": 2500";
    case CUT_1:
        return "\"" + p + "truncate\": 1";
    case CUT_LAST:
        return "\"" + p + "truncate\": " + std::to_string(c.x->reply_len - 1);
    case GARBAGE:
        return "\"" + p + "garbage\": true";
    case CLOSE:
        return "\"close_early\": true";
    case ECHO:
        return "\"wrong_echo\": true";
    case TRICKLE:
        return trickle(c, 20);
    case TRICKLE_LATE:
        return trickle(c, udp ? 600 : 1000);
    case OVERSIZED:
        // 64 KiB after a TCP answer; a datagram as large as one can be.
        return "\"" + p + "extra_bytes\": " + (udp ? "65507" : "65536");
    default:
        return "";
    }
}

std::string entry(const char* on, int from, const std::string& knob_text)
{
    std::string sel = on[0] == '\'' ? "\"on_text\": \"" + std::string(on + 1) + "\""
                                    : "\"on\": \"" + std::string(on) + "\"";
    return "{" + sel + ", \"from\": " + std::to_string(from) + ", " + knob_text + "}";
}

}  // namespace

std::string fault_fields(const Cell& c)
{
    if (c.fault == REFUSED) return R"("faults": {"refused": true})";
    std::string list = entry(c.x->on, c.x->from, knob(c));
    if (c.x->also_on != nullptr) list += ", " + entry(c.x->also_on, c.x->from, knob(c));
    return "\"faults_on\": [" + list + "]";
}

std::vector<unsigned char> prefix_bytes(const char* on)
{
    if (on[0] == '\'') return rig::as_bytes(on + 1);
    return rig::unhex(on);
}

}  // namespace faults
