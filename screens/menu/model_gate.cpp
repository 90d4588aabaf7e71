// The settings menu's model check: the unit is asked its model again before
// a group opens, and the groups that its model does not have are refused.
#include "screens/KIVRAMainSet.h"

#include <cerrno>
#include <unistd.h>

#include "device/KIVRAXPort.h"
#include "screens/list/list_parts.h"
#include "base/DebugLog.h"
#include "ui/NQ_Menu.h"

namespace {

constexpr int MODEL_ATTEMPTS = 5;
constexpr useconds_t ATTEMPT_PAUSE_US = 50 * 1000;

// Which groups a model has, by module kind: a plain XPort unit, an XPort unit
// with "GC" firmware and a WiFi module.
struct Offer {
    bool xport, gc, wifi;
};
struct GateRow {
    Offer input_extend;
    const char* no_input_extend;   // refusal text of a wired unit
    Offer mail_alert;
    bool etc;                      // analog settings, whatever the module
};

constexpr Offer ALL{true, true, true};
constexpr Offer WIFI_ONLY{false, false, true};
constexpr Offer NONE{false, false, false};
constexpr const char* NO_EXTEND = "入力延長なし。";
constexpr const char* MODEL_ERROR = "モデルチェック エラー";

const GateRow gate_rows[16] = {
    /* 0  */ {ALL, nullptr, ALL, false},
    /* 1  */ {WIFI_ONLY, NO_EXTEND, WIFI_ONLY, false},
    /* 2  */ {{false, true, true}, NO_EXTEND, ALL, false},
    /* 3  */ {ALL, nullptr, NONE, false},
    /* 4  */ {ALL, nullptr, ALL, false},
    /* 5  */ {ALL, nullptr, ALL, false},
    /* 6  */ {ALL, nullptr, ALL, false},
    /* 7  */ {WIFI_ONLY, MODEL_ERROR, WIFI_ONLY, false},
    /* 8  */ {ALL, nullptr, ALL, true},
    /* 9  */ {ALL, nullptr, ALL, true},
    /* 10 */ {ALL, nullptr, ALL, true},
    /* 11 */ {ALL, nullptr, ALL, true},
    /* 12 */ {WIFI_ONLY, MODEL_ERROR, WIFI_ONLY, false},
    /* 13 */ {WIFI_ONLY, MODEL_ERROR, WIFI_ONLY, false},
    /* 14 */ {WIFI_ONLY, MODEL_ERROR, WIFI_ONLY, false},
    /* 15 */ {WIFI_ONLY, MODEL_ERROR, WIFI_ONLY, false},
};
// A model number outside the table is judged like an unknown model.
constexpr int UNKNOWN_MODEL_ROW = 15;

bool offered(const Offer& o, int modtype)
{
    if (is_wifi(modtype)) return o.wifi;
    if (is_gc(modtype)) return o.gc;
    return o.xport;
}

}  // namespace

const char* model_gate_refusal(Group g, int model, int modtype)
{
    const GateRow& row = gate_rows[model >= 0 && model < 16 ? model : UNKNOWN_MODEL_ROW];
    switch (g) {
    case Group::InputExtend:
        return offered(row.input_extend, modtype) ? nullptr : row.no_input_extend;
    case Group::MailAlert:
        return offered(row.mail_alert, modtype) ? nullptr : "メールアラート機能なし。";
    case Group::Etc:
        return row.etc ? nullptr : "その他の機能なし。";
    }
    return nullptr;
}

int modelcheck2(int i)
{
    if (i < 0 || i >= xportcount || i >= XPORT_MAX) return EINVAL;
    DeviceEntry& e = xportset[i];
    static const ModelQueryLog texts{"connect with timeout failed\n",
                                     "warning: recv timeout may be occured\n", false};
    int error = 0;
    const int r = ModelQuery(e.ipstr, GetCmdPort(i), texts, &e.model, &e.unit_id, &error);
    if (r == 0) return 0;
    if (r == 1) return -1;
    // A failure is never reported as success, even when the system gave no number.
    return error > 0 ? error : EIO;
}

int GetModelName_ReplaceDeviceList(int i)
{
    if (i < 0 || i >= xportcount || i >= XPORT_MAX) return -1;
    if (xportset[i].samenet == 0) {
        MyMsgBox("このIPアドレスのデバイスとは", "通信できません。", MSG_ROW_MENU, win_mainset[0]);
        return -1;
    }
    for (int attempt = 0; attempt < MODEL_ATTEMPTS; attempt++) {
        const int r = modelcheck2(i);
        if (r == -1) {
            MyMsgBox("ロータリースイッチを", "[F]以外にしてください。", MSG_ROW_MENU, win_mainset[0]);
            return -1;
        }
        if (r == 0) print_xports(myscr[1].top);
        // A failed exchange keeps a model read earlier, which then passes.
        if (xportset[i].model != -1) return 0;
        if (attempt + 1 < MODEL_ATTEMPTS) usleep(ATTEMPT_PAUSE_US);
    }
    MyMsgBox("通信エラー。", "", MSG_ROW_MENU, win_mainset[0]);
    return -1;
}
