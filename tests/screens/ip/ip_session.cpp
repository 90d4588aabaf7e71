#include "ip_session.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>

namespace iptest {

Session::Session(const std::string& plant) : lab(plant)
{
    if (!lab.ok()) return;
    t = std::make_unique<rig::Term>(lab.in_host({rig::kivrasetl_path(), "-l"}), 24, 80,
                                    std::vector<std::string>{}, cwd.path());
    t->wait_text("検索");
}

Session::~Session()
{
    if (!t) return;
    // F9 ends the program, or first closes a message box still shown.
    int status = t->wait_exit(0);
    for (int k = 0; k < 2 && status < 0; k++) {
        t->f9();
        status = t->wait_exit(3000);
    }
    // A sanitizer report at the end of the run shows as a failed exit.
    if (status > 0) ADD_FAILURE() << "KIVRASetL ended with status " << status;
}

bool Session::search(const std::string& text)
{
    t->enter();
    return t->wait_text(text, 30000);
}

bool Session::open_ip_menu(int item)
{
    for (int k = 1; k < item; k++) t->down();
    t->enter();
    if (!t->wait_row(TITLE_ROW, "サブネット内 : 設定項目を選んでください")) return false;
    t->enter();
    // The screen is drawn in one update; its apply button comes last.
    bool shown =
        t->wait_row(TITLE_ROW, "IPアドレス設定") && t->wait_row(ROW_APPLY_MENU, "設定反映");
    t->settle();
    return shown;
}

bool Session::open_ip_only(int item)
{
    for (int k = 1; k < item; k++) t->down();
    t->enter();
    bool shown = t->wait_row(TITLE_ROW, "サブネット外 : IPアドレスのみ変更可能") &&
                 t->wait_row(ROW_APPLY_ONLY, "設定反映");
    t->settle();
    return shown;
}

void Session::edit_field(const std::string& text)
{
    t->enter();
    // The address, mask and gateway forms have their entry line on rows 16,
    // 17 and 18, ending in the button "決定".
    int form_row = -1;
    for (int tries = 0; tries < 200 && form_row < 0; tries++) {
        t->settle(50, 200);
        for (int r = 16; r <= 18; r++)
            if (t->row(r).find("決定") != std::string::npos) form_row = r;
    }
    // The field shows the current text; it is replaced wherever the cursor stands.
    op::replace_entry(*t, text);
    if (form_row >= 0) {
        for (int tries = 0; tries < 200; tries++) {
            t->settle(50, 200);
            if (t->row(form_row).find("決定") == std::string::npos) break;
        }
    }
}

bool Session::wait_bg(int row, int col, int colour, int timeout_ms)
{
    for (int waited = 0; waited <= timeout_ms; waited += 50) {
        if (t->bg(row, col) == colour) return true;
        t->settle(50, 200);
    }
    return false;
}

bool Session::wait_fg(int row, int col, int colour, int timeout_ms)
{
    for (int waited = 0; waited <= timeout_ms; waited += 50) {
        if (t->fg(row, col) == colour) return true;
        t->settle(50, 200);
    }
    return false;
}

bool Session::wait_message(const std::string& line1, const std::string& line2)
{
    if (!t->wait_row(MSG_LINE1, line1, 15000)) return false;
    if (!line2.empty()) return t->wait_row(MSG_LINE2, line2);
    t->settle();
    return t->text(MSG_LINE2, MSG_COL, 40) == std::string(40, ' ');
}

std::string Session::debug_log() const { return cwd.read("debug.log"); }

std::vector<rig::JournalEntry> Session::udp_in(const std::string& unit, uint8_t op) const
{
    std::vector<rig::JournalEntry> out;
    for (const rig::JournalEntry& e : lab.received(unit)) {
        if (e.proto == "udp" && e.bytes.size() >= 4 && e.bytes[3] == op) out.push_back(e);
    }
    return out;
}

std::vector<uint8_t> Session::record0_as_read(const std::string& unit) const
{
    for (const rig::JournalEntry& e : lab.sent(unit)) {
        if (e.proto == "udp" && e.bytes.size() == 124 && e.bytes[3] == 0xD0) return e.bytes;
    }
    return {};
}

std::vector<uint8_t> address_bytes(const char* dotted)
{
    in_addr a{};
    inet_aton(dotted, &a);
    const uint8_t* b = reinterpret_cast<const uint8_t*>(&a.s_addr);
    return {b[0], b[1], b[2], b[3]};
}

}  // namespace iptest
