// Applying the IP screens' settings (settings/ip_settings.h) and the ping
// check, with their messages.
#include "screens/KIVRAMainSet.h"
#include "screens/ip/ip_screen.h"

#include "base/DebugLog.h"
#include "device/KIVRAXPort.h"
#include "device/ping.h"

namespace {

void applied() { ip_message("設定完了しました。", "デバイスを再起動します。"); }

bool own_address(const char* addr, int i)
{
    in_addr_t a = 0;
    return parse_dotted_quad(addr, &a) && is_own_address(i, a);
}

}  // namespace

Outcome apply_ip_screen(IpScreen& s)
{
    const StepResult r = apply_ip_settings(s.unit, s.values);
    if (!r.ok()) {
        show_failure(r, win_ipset[0]);
        return Outcome::Stay;
    }
    applied();
    // A WiFi module restarts with its new address; its entry stays listed.
    if (!is_wifi(xportset[s.unit])) DeleteXPort(s.unit);
    return Outcome::Done;
}

int OnSetIP(const char* addr, const char* mask, const char* gw, int i)
{
    if (addr == nullptr || i < 0 || i >= xportcount) return 0;
    // The edit buffers hold plain dotted addresses (the screen keeps no other
    // text); anything else is never turned into an address of 0 or all ones.
    IpScreen s{i, {}};
    s.values.dhcp = dhcp_sel == 1;
    if (!s.values.dhcp && (!parse_dotted_quad(addr, &s.values.address) ||
                           (mask != nullptr && !parse_dotted_quad(mask, &s.values.netmask)) ||
                           (gw != nullptr && !parse_dotted_quad(gw, &s.values.gateway))))
        return 0;
    return apply_ip_screen(s) == Outcome::Done ? 1 : 0;
}

void CheckPing(const char* addr, int i)
{
    if (addr == nullptr) return;
    int r = SendPingCmd(addr);
    PrnDebugf("ret value = %d\n", r);
    if (r != 0) {
        ip_message("PINGに応答がありません。", "このアドレスは設定可能と思われます。");
        return;
    }
    bool own = own_address(addr, i);
    ip_message("PINGに応答がありました。", own ? "" : "この設定はアドレス衝突の恐れがあります。");
}
