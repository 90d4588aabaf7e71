// What the two IP address screens (SetIPMenu, SetIPOnly) share: the screen's
// struct over the IP address group, its rows, windows and messages. One IP
// screen exists at a time.
#pragma once

#include <curses.h>

#include "device/address_text.h"
#include "screens/screen_driver.h"
#include "settings/ip_settings.h"

constexpr int IP_TEXT_LEN = 80;  // the edit texts of the loop_ipset* entries

// Rows of the screen, the values of ipselect_mode.
enum IpRow {
    IPROW_DHCP = 1,
    IPROW_ADDRESS = 2,
    IPROW_APPLY = 3,
    IPROW_MASK = 4,
    IPROW_GATEWAY = 5
};

// The open screen: its unit and the values it shows and applies. values.dhcp
// takes the DHCP row's choice each time that row is left.
struct IpScreen {
    int unit;
    IpSettings values;
};

extern int ipselect_mode;  // current row, IpRow
extern int dhcp_sel;       // the DHCP row's highlight: 1 "ON", 2 "OFF"

// Windows of the open IP screen; win_ipset[0] is the frame, element 0 of the
// other arrays stays empty (select_menu never draws it). Null while no IP
// screen is open.
extern WINDOW* win_ipset[3];       // frame, address field, "PING送信"
extern WINDOW* win_dhcpset[3];     // frame, "ON", "OFF"
extern WINDOW* win_subnetset[2];   // frame, mask field (SetIPMenu only)
extern WINDOW* win_gatewayset[2];  // frame, gateway field (SetIPMenu only)
extern WINDOW* win_sendipset[2];   // frame, "設定反映"

// The row reached by leaving `row` with `move`; dhcp_on when "ON" is chosen,
// samenet when the unit lies in one of the host's networks (SetIPMenu).
// 0 for a row the screen does not have.
int ip_next_row(int row, Move move, int dhcp_on, int samenet);
// Runs the rows of the open IP screen from ipselect_mode until one ends the
// screen: Done after the settings were written, Back (Esc), Quit (F9).
Outcome run_ip_rows(IpScreen& s);
// "設定反映": writes the screen's values. A failure shows its message and
// the screen stays (Stay); once written, "設定完了しました。" is shown, an
// XPort unit is dropped from the list (a WiFi module keeps its entry) and
// the screen ends (Done).
Outcome apply_ip_screen(IpScreen& s);

// An address field shows its address as dotted decimal (staged; nothing
// for a field the screen does not have).
void show_address(WINDOW* field, in_addr_t a);
// A message box of the IP screens at row 18, redrawing the IP frame after the key.
void ip_message(const char* line1, const char* line2);
