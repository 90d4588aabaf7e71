// The settings menu's model check: the unit is asked its model again before
// a group opens, and the groups that its model does not have are refused.
#include "screens/KIVRAMainSet.h"

#include "device/KIVRAXPort.h"
#include "settings/etc_settings.h"
#include "settings/ext_settings.h"
#include "settings/mail_settings.h"
#include "settings/model_check.h"
#include "screens/list/list_parts.h"
#include "base/DebugLog.h"
#include "ui/NQ_Menu.h"

namespace {

// A model number outside 0..15 is judged like an unknown model.
constexpr int UNKNOWN_MODEL = 15;

void redraw_list() { print_xports(myscr[1].top); }

}  // namespace

// The groups a unit has come from its settings (input extension, mail and the
// analog settings by model and module kind); the refusal texts are the menu's.
const char* model_gate_refusal(Group g, int model, int modtype)
{
    const int m = model >= 0 && model < 16 ? model : UNKNOWN_MODEL;
    switch (g) {
    case Group::InputExtend:
        if (ext_parts(m, modtype).group) return nullptr;
        return m == 1 || m == 2 ? "入力延長なし。" : "モデルチェック エラー";
    case Group::MailAlert:
        return mail_presence(m, modtype).exists ? nullptr : "メールアラート機能なし。";
    case Group::Etc:
        return etc_parts(m, modtype).any() ? nullptr : "その他の機能なし。";
    }
    return nullptr;
}

int GetModelName_ReplaceDeviceList(int i)
{
    if (i < 0 || i >= xportcount || i >= XPORT_MAX) return -1;
    if (xportset[i].samenet == 0) {
        MyMsgBox("このIPアドレスのデバイスとは", "通信できません。", MSG_ROW_MENU, win_mainset[0]);
        return -1;
    }
    switch (check_model(i, redraw_list)) {
    case ModelCheck::Known:
        return 0;
    case ModelCheck::Refused:
        MyMsgBox("ロータリースイッチを", "[F]以外にしてください。", MSG_ROW_MENU, win_mainset[0]);
        return -1;
    case ModelCheck::NoAnswer:
        break;
    }
    MyMsgBox("通信エラー。", "", MSG_ROW_MENU, win_mainset[0]);
    return -1;
}
