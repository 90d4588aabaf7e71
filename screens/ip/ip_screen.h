// Shared state of the IP address screens (SetIPMenu, SetIPOnly) and the pure
// byte and text builders behind them. One IP screen exists at a time.
#pragma once

#include <curses.h>

#include "device/address_text.h"
#include "device/record_fields.h"

#include <netinet/in.h>
#include <cstddef>
#include <cstdint>

constexpr int IP_TEXT_LEN = 80;  // edit buffers of the address, mask and gateway

// Rows of the screen, the values of ipselect_mode.
enum IpRow {
    IPROW_DHCP = 1,
    IPROW_ADDRESS = 2,
    IPROW_APPLY = 3,
    IPROW_MASK = 4,
    IPROW_GATEWAY = 5
};
// How a row is left. Enter on the DHCP row leaves it like Down.
enum IpMove { IPMOVE_UP, IPMOVE_DOWN };

extern int ipselect_mode;  // current row, IpRow
extern int dhcp_sel;       // 1 DHCP on, 2 static address

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
int ip_next_row(int row, int move, int dhcp_on, int samenet);
// Runs the rows of the open IP screen from ipselect_mode until one ends the
// screen; mask and gw are null on the address-only screen.
int run_ip_rows(char* addr, char* mask, char* gw, int i);


// A message box of the IP screens at row 18, redrawing the IP frame after the key.
void ip_message(const char* line1, const char* line2);
