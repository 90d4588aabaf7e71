// The rows of the IP screens as tables for the screen driver: the DHCP
// row, the address, mask and gateway fields and the apply button, with the
// DHCP row's callbacks and the editing of the three addresses.
#include "screens/KIVRAMainSet.h"
#include "screens/ip/ip_screen.h"

#include "device/KIVRAXPort.h"
#include "ui/NQ_Forms.h"
#include "ui/NQ_Menu.h"
#include "ui/colour_pairs.h"
#include "ui/form_ids.h"

int ipselect_mode = IPROW_DHCP;
int dhcp_sel = 2;

namespace {

// Greys the address fields while DHCP is on.
void grey_fields(WINDOW* const* fields, int count, int sel)
{
    for (int k = 0; k < count; k++) set_pair(fields[k], sel == 1 ? PAIR_GREY : PAIR_ITEM);
    doupdate();
}

// Edits one address in catalogue form `form`: only a plain dotted address
// replaces it.
Outcome edit_address(unsigned form, in_addr_t& value, WINDOW* field)
{
    char shown[16];
    format_dotted(value, shown);
    char text[FORM_TEXT_MAX] = {};
    const int r = edit_form(form, -1, -1, shown, text, static_cast<int>(sizeof text), win_ipset[0]);
    if (r == MENU_QUIT) return Outcome::Quit;
    if (r == 1 && parse_dotted_quad(text, &value)) {
        show_address(field, value);
        doupdate();
    }
    return Outcome::Stay;
}

// ---- the DHCP row ----

int dhcp_start(IpScreen& s, int) { return s.values.dhcp ? 1 : 2; }

// The choice is taken and stays marked while the other rows are used.
void take_dhcp_choice(IpScreen& s, int)
{
    s.values.dhcp = dhcp_sel == 1;
    if (dhcp_sel == 1 || dhcp_sel == 2) {
        set_pair(win_dhcpset[dhcp_sel], PAIR_MARKED);
        doupdate();
    }
}

// Enter leaves the row like Down: "ON" goes to the apply button, "OFF" to the address.
Outcome dhcp_enter(IpScreen&, int, int) { return Outcome::NextRow; }

// ---- the field rows ----

// While "ON" is chosen the address, mask and gateway cannot be reached.
bool fields_present(const IpScreen& s) { return !s.values.dhcp; }

// A field row shows its value each time it is entered.
int address_start(IpScreen& s, int)
{
    show_address(win_ipset[1], s.values.address);
    return 1;
}
int mask_start(IpScreen& s, int)
{
    show_address(win_subnetset[1], s.values.netmask);
    return 1;
}
int gateway_start(IpScreen& s, int)
{
    show_address(win_gatewayset[1], s.values.gateway);
    return 1;
}

Outcome address_enter(IpScreen& s, int, int item)
{
    if (item == 2) {
        char text[16];
        format_dotted(s.values.address, text);
        CheckPing(text, s.unit);
        return Outcome::Stay;
    }
    return edit_address(FORM_IP_ADDRESS, s.values.address, win_ipset[1]);
}
Outcome mask_enter(IpScreen& s, int, int)
{
    return edit_address(FORM_IP_MASK, s.values.netmask, win_subnetset[1]);
}
Outcome gateway_enter(IpScreen& s, int, int)
{
    return edit_address(FORM_IP_GATEWAY, s.values.gateway, win_gatewayset[1]);
}

Outcome apply_enter(IpScreen& s, int, int) { return apply_ip_screen(s); }

// Every row is a horizontal menu that Up and Down leave for the previous
// and next row that can be reached; both ends wrap. The two screens differ
// in the fields the DHCP choice greys.
constexpr RowSpec<IpScreen> dhcp_row(int (*greys)(int sel))
{
    return {.mode = IPROW_DHCP,
            .wins = win_dhcpset,
            .items = 2,
            .start = dhcp_start,
            .onchange = greys,
            .enter = dhcp_enter,
            .leave = take_dhcp_choice};
}
constexpr RowSpec<IpScreen> kAddressRow = {.mode = IPROW_ADDRESS,
                                           .wins = win_ipset,
                                           .items = 2,
                                           .present = fields_present,
                                           .start = address_start,
                                           .enter = address_enter};
constexpr RowSpec<IpScreen> kApplyRow = {
    .mode = IPROW_APPLY, .wins = win_sendipset, .enter = apply_enter};

const RowSpec<IpScreen> kMenuRows[] = {
    dhcp_row(OnChangeSelDHCPSame),
    kAddressRow,
    {.mode = IPROW_MASK,
     .wins = win_subnetset,
     .present = fields_present,
     .start = mask_start,
     .enter = mask_enter},
    {.mode = IPROW_GATEWAY,
     .wins = win_gatewayset,
     .present = fields_present,
     .start = gateway_start,
     .enter = gateway_enter},
    kApplyRow,
};
const RowSpec<IpScreen> kOnlyRows[] = {dhcp_row(OnChangeSelDHCP), kAddressRow, kApplyRow};

RowTable<IpScreen> rows_for(bool samenet)
{
    return samenet ? RowTable<IpScreen>(kMenuRows) : RowTable<IpScreen>(kOnlyRows);
}

bool unit_samenet(int i) { return i >= 0 && i < xportcount && xportset[i].samenet != 0; }

// The design's per-row loop entries over edit texts: one pass of one row.
int ip_step(int row, char* addr, char* mask, char* gw, int i)
{
    IpScreen s{i, {}};
    s.values.dhcp = dhcp_sel == 1;
    char* texts[3] = {addr, mask, gw};
    in_addr_t* values[3] = {&s.values.address, &s.values.netmask, &s.values.gateway};
    for (int k = 0; k < 3; k++)
        if (texts[k] != nullptr) parse_dotted_quad(texts[k], values[k]);
    ipselect_mode = row;
    const Outcome o = run_row(rows_for(unit_samenet(i)), s, ipselect_mode);
    for (int k = 0; k < 3; k++)
        if (texts[k] != nullptr) format_dotted(*values[k], texts[k]);
    return screen_result(o);
}

}  // namespace

void show_address(WINDOW* field, in_addr_t a)
{
    char text[16];
    format_dotted(a, text);
    show_text(field, text);
}

int ip_next_row(int row, Move move, int dhcp_on, int samenet)
{
    const IpScreen s{-1, {.dhcp = dhcp_on != 0}};
    return row_target(rows_for(samenet != 0), s, row, move);
}

Outcome run_ip_rows(IpScreen& s)
{
    return run_rows(rows_for(unit_samenet(s.unit)), s, ipselect_mode);
}

int OnChangeSelDHCP(int sel)
{
    dhcp_sel = sel;
    WINDOW* fields[] = {win_ipset[1]};
    grey_fields(fields, 1, sel);
    return 0;
}

int OnChangeSelDHCPSame(int sel)
{
    dhcp_sel = sel;
    WINDOW* fields[] = {win_ipset[1], win_subnetset[1], win_gatewayset[1]};
    grey_fields(fields, 3, sel);
    return 0;
}

int loop_ipset(char* addr, int i) { return ip_step(IPROW_DHCP, addr, nullptr, nullptr, i); }
int loop_ipset2(char* addr, int i) { return ip_step(IPROW_ADDRESS, addr, nullptr, nullptr, i); }
int loop_ipset_subnet(char* mask, int i) { return ip_step(IPROW_MASK, nullptr, mask, nullptr, i); }
int loop_ipset_gateway(char* gw, int i) { return ip_step(IPROW_GATEWAY, nullptr, nullptr, gw, i); }
int loop_ipset3(char* addr, char* mask, char* gw, int i)
{
    return ip_step(IPROW_APPLY, addr, mask, gw, i);
}
