// The fault matrix as data: the exchanges the tool makes, each with the way
// an operator reaches it and what the tool must show and log when it fails,
// and the faults the simulator can put on one chosen request.
#pragma once

#include <string>
#include <vector>

namespace faults {

// How the operator reaches the exchange.
enum class Flow {
    Search,      // the search: the unit is dropped and asked nothing more
    SearchKept,  // the search: a failure the search lives with; the unit stays listed
    Menu,        // the settings menu's model check
    Ip,          // the IP screen's "設定反映"
    ExtOpen,     // opening the input extension screen
    ExtApply,    // "設定反映" of the input extension screen
    EtcOpen,     // opening the other settings
    EtcApply,    // "設定反映" of the other settings
    MailOpen,    // opening the mail alert screen
    MailApply,   // "設定反映" of the mail alert screen
    MailAuthApply,  // the same with SMTP-AUTH turned on (a "GC" unit writes record 1)
};

enum class Proto { Udp, Tcp };

// The faults, each a knob of the simulator's faults_on entries.
enum Fault : unsigned {
    SILENT = 1u << 0,   // no answer
    SLOW = 1u << 1,     // the answer comes well after the time-out
    CUT_1 = 1u << 2,    // only the first byte(s) of the answer
    CUT_LAST = 1u << 3, // the answer without its last byte
    GARBAGE = 1u << 4,  // junk of the answer's length
    CLOSE = 1u << 5,    // TCP: the unit closes without answering
    ECHO = 1u << 6,     // TCP: a wrong echo
    REFUSED = 1u << 7,  // TCP: no listener at all (the whole unit)
    TRICKLE = 1u << 8,       // the answer in pieces, whole well within the time-out
    TRICKLE_LATE = 1u << 9,  // the answer in pieces, still coming past the time-out
    OVERSIZED = 1u << 10,    // the answer followed by far more bytes than asked for
    ALL = 0x7FFu,
};

struct Exchange {
    const char* name;
    Flow flow;
    const char* unit;     // the unit's plant fields besides name, ip and faults
    const char* on;       // the request's prefix: hex, or text when it starts with '\''
    int from;             // the from-th matching request fails (and all after it)
    Proto proto;
    int reply_len;        // bytes of a whole answer
    const char* message;  // first line of the message box (null: none)
    int msg_row;          // the box's screen row
    const char* log;      // the debug log line of the failure
    unsigned faults;      // the faults of this exchange's cells
    const char* also_on;  // a second request failing the same way (or null)
    // The faults the tool goes on through as if the answer had come whole: it
    // shows what it shows on success and logs no failure.
    unsigned passes = TRICKLE | OVERSIZED;
};

// The exchange table (cells.cpp).
extern const Exchange kExchanges[];
extern const int kExchangeCount;

// One cell: an exchange under one fault.
struct Cell {
    const Exchange* x;
    Fault fault;
};

// The cells of an exchange: its faults that apply to its protocol and answer.
std::vector<Cell> cells_of(const Exchange& x);
// The tool goes on through the cell's fault (Exchange::passes).
bool passes(const Cell& c);
// The cell's name, e.g. "record 0 read / silent".
std::string cell_name(const Cell& c);
// The faults_on entries (or faults object) of the unit, as plant JSON fields.
std::string fault_fields(const Cell& c);
// The prefix bytes of a request named as in Exchange::on.
std::vector<unsigned char> prefix_bytes(const char* on);

}  // namespace faults
