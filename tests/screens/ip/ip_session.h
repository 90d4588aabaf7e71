// An operator at KIVRASetL in a lab: the tool runs in the lab's host
// namespace under the terminal rig, with its debug log in a folder of its own.
// Helpers to reach a unit's IP screen and to read what the units received.
#pragma once

#include "tests/screens/operator.h"
#include "rig/lab.h"
#include "rig/scratch_dir.h"
#include "rig/term.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace iptest {

// Screen positions of the IP screens (frame at row 13, column 1).
constexpr int TITLE_ROW = 13;
constexpr int ROW_DHCP = 15, COL_ON = 26, COL_OFF = 36;
constexpr int ROW_ADDR = 17, COL_FIELD = 26, COL_PING = 46;
constexpr int ROW_MASK = 18, ROW_GW = 19;
constexpr int ROW_APPLY_MENU = 21, ROW_APPLY_ONLY = 19;
constexpr int MSG_LINE1 = 19, MSG_LINE2 = 20, MSG_COL = 17;

// Terminal colours of the screen's pairs.
constexpr int BLUE = 4, YELLOW = 3, GREY = 6;

struct Session {
    explicit Session(const std::string& plant);
    ~Session();

    // "検索", then waits until the list shows text.
    bool search(const std::string& text);
    // Opens the unit on list row `item` (1-based): the settings menu and its
    // "IPアドレス設定" for a unit of the host's network, else the address-only screen.
    bool open_ip_menu(int item = 1);
    bool open_ip_only(int item = 1);
    // Enter on the field under the cursor, replace its text, confirm.
    void edit_field(const std::string& text);
    // Waits until the cell's background is the colour.
    bool wait_bg(int row, int col, int colour, int timeout_ms = 10000);
    bool wait_fg(int row, int col, int colour, int timeout_ms = 10000);
    // Waits for a message box with these two lines (line2 "" = blank line).
    bool wait_message(const std::string& line1, const std::string& line2);
    std::string debug_log() const;

    // What a unit received and sent over UDP / TCP.
    std::vector<rig::JournalEntry> udp_in(const std::string& unit, uint8_t op) const;
    std::vector<uint8_t> record0_as_read(const std::string& unit) const;

    rig::Lab lab;
    rig::ScratchDir cwd;  // the tool's working directory, for its debug log
    std::unique_ptr<rig::Term> t;
};

std::vector<uint8_t> address_bytes(const char* dotted);

}  // namespace iptest
