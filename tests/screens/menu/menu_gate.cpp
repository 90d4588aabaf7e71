// Which settings groups the menu offers for each model and module kind.
#include <gtest/gtest.h>

#include <string>

#include "screens/list/list_parts.h"

namespace {

constexpr int XPORT = 0, GC = 1, WIFI = 3;
const char* const OFFERED = nullptr;

struct GateCase {
    Group group;
    int model;
    int modtype;
    const char* refusal;   // nullptr: offered
};

std::string show(const char* s) { return s ? s : "(offered)"; }

const GateCase gate_cases[] = {
    // input extension
    {Group::InputExtend, 0, XPORT, OFFERED},
    {Group::InputExtend, 1, XPORT, "入力延長なし。"},
    {Group::InputExtend, 1, GC, "入力延長なし。"},
    {Group::InputExtend, 1, WIFI, OFFERED},
    {Group::InputExtend, 2, XPORT, "入力延長なし。"},
    {Group::InputExtend, 2, GC, OFFERED},
    {Group::InputExtend, 2, WIFI, OFFERED},
    {Group::InputExtend, 3, XPORT, OFFERED},
    {Group::InputExtend, 6, GC, OFFERED},
    {Group::InputExtend, 7, XPORT, "モデルチェック エラー"},
    {Group::InputExtend, 7, GC, "モデルチェック エラー"},
    {Group::InputExtend, 7, WIFI, OFFERED},
    {Group::InputExtend, 8, XPORT, OFFERED},
    {Group::InputExtend, 11, XPORT, OFFERED},
    {Group::InputExtend, 12, XPORT, "モデルチェック エラー"},
    {Group::InputExtend, 15, GC, "モデルチェック エラー"},
    {Group::InputExtend, 15, WIFI, OFFERED},
    {Group::InputExtend, 16, XPORT, "モデルチェック エラー"},
    {Group::InputExtend, -1, XPORT, "モデルチェック エラー"},
    {Group::InputExtend, 99, WIFI, OFFERED},
    // mail alert
    {Group::MailAlert, 0, XPORT, OFFERED},
    {Group::MailAlert, 1, XPORT, "メールアラート機能なし。"},
    {Group::MailAlert, 1, GC, "メールアラート機能なし。"},
    {Group::MailAlert, 1, WIFI, OFFERED},
    {Group::MailAlert, 2, XPORT, OFFERED},
    {Group::MailAlert, 3, XPORT, "メールアラート機能なし。"},
    {Group::MailAlert, 3, WIFI, "メールアラート機能なし。"},
    {Group::MailAlert, 4, GC, OFFERED},
    {Group::MailAlert, 7, XPORT, "メールアラート機能なし。"},
    {Group::MailAlert, 7, WIFI, OFFERED},
    {Group::MailAlert, 9, XPORT, OFFERED},
    {Group::MailAlert, 13, XPORT, "メールアラート機能なし。"},
    {Group::MailAlert, 13, WIFI, OFFERED},
    {Group::MailAlert, 99, XPORT, "メールアラート機能なし。"},
    // other settings: the analog models only, whatever the module
    {Group::Etc, 0, XPORT, "その他の機能なし。"},
    {Group::Etc, 6, WIFI, "その他の機能なし。"},
    {Group::Etc, 7, XPORT, "その他の機能なし。"},
    {Group::Etc, 8, XPORT, OFFERED},
    {Group::Etc, 9, GC, OFFERED},
    {Group::Etc, 10, WIFI, OFFERED},
    {Group::Etc, 11, XPORT, OFFERED},
    {Group::Etc, 12, XPORT, "その他の機能なし。"},
    {Group::Etc, 15, WIFI, "その他の機能なし。"},
};

TEST(MenuGate, EachModelAndModuleKindGetsItsGroupsOrItsRefusalText)
{
    for (const GateCase& c : gate_cases) {
        EXPECT_EQ(show(model_gate_refusal(c.group, c.model, c.modtype)), show(c.refusal))
            << "group " << static_cast<int>(c.group) << " model " << c.model << " modtype " << c.modtype;
    }
}

}  // namespace
