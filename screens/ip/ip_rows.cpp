// The rows of the IP screens as tables for the screen driver: the DHCP
// row, the address, mask and gateway fields and the apply button, with the
// DHCP row's callbacks and the editing of the three address fields.
#include "screens/KIVRAMainSet.h"
#include "screens/ip/ip_screen.h"

#include "device/KIVRAXPort.h"
#include "screens/screen_driver.h"
#include "base/bounded_text.h"
#include "ui/NQ_Forms.h"
#include "ui/NQ_Menu.h"
#include "ui/colour_pairs.h"
#include "ui/form_ids.h"

int ipselect_mode = IPROW_DHCP;
int dhcp_sel = 2;

namespace {

// The edit buffers of the open screen; mask and gw are null on the
// address-only screen.
struct IpEdit {
    char* addr;
    char* mask;
    char* gw;
};

IpEdit& edit_of(const RowContext& ctx) { return *static_cast<IpEdit*>(ctx.state); }

// Greys the address fields while DHCP is on.
void grey_fields(WINDOW* const* fields, int count, int sel)
{
    for (int k = 0; k < count; k++) set_pair(fields[k], sel == 1 ? PAIR_GREY : PAIR_ITEM);
    doupdate();
}

// Edits one field in catalogue form `form`: -1 after F9, else 0 (the buffer
// holds the confirmed text, or stays as it was).
int edit_field(unsigned form, char* buf, WINDOW* field)
{
    if (buf == nullptr) return 0;
    char text[FORM_TEXT_MAX] = {};
    const int r = edit_form(form, -1, -1, buf, text, static_cast<int>(sizeof text), win_ipset[0]);
    if (r == MENU_QUIT) return -1;
    // Only a plain dotted address ever replaces the buffer.
    if (r == 1 && parse_dotted_quad(text, nullptr)) {
        copy_text(buf, IP_TEXT_LEN, text);
        show_text(field, buf);
        doupdate();
    }
    return 0;
}

// ---- the DHCP row ----

int dhcp_start(const RowContext&) { return dhcp_sel; }

// The choice stays marked while the other rows are used.
void mark_dhcp_choice(RowContext&)
{
    if (dhcp_sel == 1 || dhcp_sel == 2) {
        set_pair(win_dhcpset[dhcp_sel], PAIR_MARKED);
        doupdate();
    }
}

// Enter leaves the row like Down: "ON" goes to the apply button, "OFF" to the address.
int dhcp_enter(RowContext& ctx, int)
{
    mark_dhcp_choice(ctx);
    *ctx.mode = row_target(ctx, IPROW_DHCP, MOVE_DOWN);
    return 0;
}

// ---- the field rows ----

// While "ON" is chosen the address, mask and gateway cannot be reached.
bool field_present(const RowContext&) { return dhcp_sel != 1; }

// A field row shows its edit buffer each time it is entered.
int address_start(const RowContext& ctx)
{
    show_text(win_ipset[1], edit_of(ctx).addr);
    return 1;
}
int mask_start(const RowContext& ctx)
{
    show_text(win_subnetset[1], edit_of(ctx).mask);
    return 1;
}
int gateway_start(const RowContext& ctx)
{
    show_text(win_gatewayset[1], edit_of(ctx).gw);
    return 1;
}

int address_enter(RowContext& ctx, int item)
{
    if (item == 2) {
        CheckPing(edit_of(ctx).addr, ctx.unit);
        return 0;
    }
    return edit_field(FORM_IP_ADDRESS, edit_of(ctx).addr, win_ipset[1]) < 0 ? -1 : 0;
}
int mask_enter(RowContext& ctx, int)
{
    return edit_field(FORM_IP_MASK, edit_of(ctx).mask, win_subnetset[1]) < 0 ? -1 : 0;
}
int gateway_enter(RowContext& ctx, int)
{
    return edit_field(FORM_IP_GATEWAY, edit_of(ctx).gw, win_gatewayset[1]) < 0 ? -1 : 0;
}

int apply_enter(RowContext& ctx, int)
{
    const IpEdit& e = edit_of(ctx);
    return OnSetIP(e.addr, e.mask, e.gw, ctx.unit) == 1 ? 1 : 0;
}

int dhcp_changed_same(int sel) { return OnChangeSelDHCPSame(sel); }
int dhcp_changed_only(int sel) { return OnChangeSelDHCP(sel); }

// Up and Down go to the previous and next row that can be reached; both
// ends wrap. Every row is a horizontal menu that Up and Down leave.
// mode, windows, items, vertical, up, down, present, start, onchange, enter, leave, items_fn
const RowSpec kMenuRows[] = {
    {IPROW_DHCP, win_dhcpset, 2, 0, ROW_PREV, ROW_NEXT, nullptr, dhcp_start, dhcp_changed_same,
     dhcp_enter, mark_dhcp_choice, nullptr},
    {IPROW_ADDRESS, win_ipset, 2, 0, ROW_PREV, ROW_NEXT, field_present, address_start, nullptr,
     address_enter, nullptr, nullptr},
    {IPROW_MASK, win_subnetset, 1, 0, ROW_PREV, ROW_NEXT, field_present, mask_start, nullptr,
     mask_enter, nullptr, nullptr},
    {IPROW_GATEWAY, win_gatewayset, 1, 0, ROW_PREV, ROW_NEXT, field_present, gateway_start, nullptr,
     gateway_enter, nullptr, nullptr},
    {IPROW_APPLY, win_sendipset, 1, 0, ROW_PREV, ROW_NEXT, nullptr, nullptr, nullptr, apply_enter,
     nullptr, nullptr},
};

const RowSpec kOnlyRows[] = {
    {IPROW_DHCP, win_dhcpset, 2, 0, ROW_PREV, ROW_NEXT, nullptr, dhcp_start, dhcp_changed_only,
     dhcp_enter, mark_dhcp_choice, nullptr},
    {IPROW_ADDRESS, win_ipset, 2, 0, ROW_PREV, ROW_NEXT, field_present, address_start, nullptr,
     address_enter, nullptr, nullptr},
    {IPROW_APPLY, win_sendipset, 1, 0, ROW_PREV, ROW_NEXT, nullptr, nullptr, nullptr, apply_enter,
     nullptr, nullptr},
};

int unit_samenet(int i)
{
    if (i < 0 || i >= xportcount) return 0;
    return xportset[i].samenet != 0 ? 1 : 0;
}

RowContext ip_context(int i, IpEdit& edit, bool samenet)
{
    if (samenet) return RowContext{i, &ipselect_mode, &edit, kMenuRows, 5};
    return RowContext{i, &ipselect_mode, &edit, kOnlyRows, 3};
}

// One pass of one row, as the row's loop function.
int ip_step(int row, char* addr, char* mask, char* gw, int i)
{
    IpEdit edit{addr, mask, gw};
    RowContext ctx = ip_context(i, edit, unit_samenet(i) == 1);
    ipselect_mode = row;
    return run_row(ctx);
}

}  // namespace

int ip_next_row(int row, int move, int dhcp_on, int samenet)
{
    IpEdit none{nullptr, nullptr, nullptr};
    RowContext ctx = ip_context(-1, none, samenet != 0);
    const int saved = dhcp_sel;
    dhcp_sel = dhcp_on ? 1 : 2;
    const int to = row_target(ctx, row, move == IPMOVE_UP ? MOVE_UP : MOVE_DOWN);
    dhcp_sel = saved;
    return to;
}

int run_ip_rows(char* addr, char* mask, char* gw, int i)
{
    IpEdit edit{addr, mask, gw};
    RowContext ctx = ip_context(i, edit, unit_samenet(i) == 1);
    return run_rows(ctx);
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
