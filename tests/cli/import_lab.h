// The lab of the import stories and bench: every family's unit beside a
// second unit of its family with the plant's defaults, and the screens'
// applies of a unit's groups as an operator makes them.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "cli/kivraset.h"
#include "cli/settings_file.h"
#include "rig/lab.h"
#include "settings/unit_search.h"

namespace clitest {

// The plant of every family (lab/plants/families.json), and for each of its
// units a second one of the same model and module with the plant's defaults:
// "<name>_to" at 192.0.2.(100 + k), MAC ...:f0 + k.
inline std::string pairs_plant()
{
    std::ifstream in(rig::lab_source_dir() + "/plants/families.json");
    std::ostringstream s;
    s << in.rdbuf();
    nlohmann::json plant = nlohmann::json::parse(s.str());
    nlohmann::json second = nlohmann::json::array();
    int k = 0;
    for (const nlohmann::json& u : plant["units"]) {
        nlohmann::json d = {{"name", u["name"].get<std::string>() + "_to"},
                            {"ip", "192.0.2." + std::to_string(100 + k)},
                            {"mac", "00:80:a3:99:00:" + std::to_string(10 + k)}};
        for (const char* key : {"devtype", "module", "model", "unit_id", "cmd_port"})
            if (u.contains(key)) d[key] = u[key];
        second.push_back(d);
        k++;
    }
    for (const nlohmann::json& d : second) plant["units"].push_back(d);
    return plant.dump();
}

struct Pair {
    const char* mac;  // the exported unit's MAC address
    const char* to;   // the unit the file goes to
    const char* to_mac;
};
inline const Pair kPairs[] = {
    {"00:80:a3:10:00:01", "plain_to", "00:80:a3:99:00:10"},
    {"00:80:a3:10:00:02", "gc_to", "00:80:a3:99:00:11"},
    {"00:80:a3:10:00:03", "wifi_to", "00:80:a3:99:00:12"},
    {"00:80:a3:20:01:01", "ai8_to", "00:80:a3:99:00:13"},
    {"00:80:a3:20:01:02", "ao9_to", "00:80:a3:99:00:14"},
    {"00:80:a3:20:01:03", "ai10_to", "00:80:a3:99:00:15"},
    {"00:80:a3:20:01:04", "ao11_to", "00:80:a3:99:00:16"},
};

inline int entry_of(const char* mac)
{
    UnitName n{};
    parse_unit_name(mac, &n);
    for (int i = 0; i < xportcount; i++)
        if (std::memcmp(xportset[i].mac, n.mac, 6) == 0) return i;
    return -1;
}

// v applied to unit i as an operator would on the screens: each group the
// unit has in the menu's order, the unit searched again after each apply.
// False when an apply failed or the unit was not found again.
inline bool apply_as_screens(int i, const UnitSettings& v)
{
    const unsigned has = settings_groups_of(v.model, v.modtype);
    bool ok = true;
    auto applied = [i, &ok](const StepResult& r) {
        EXPECT_TRUE(r.ok()) << "step " << r.failed << " " << (r.message ? r.message : "")
                            << (r.log ? r.log : "");
        const bool back = r.ok() && RefindUnit(i, 20000) == 0;
        EXPECT_TRUE(back || !r.ok()) << "not found again after its restart";
        ok = back && ok;
    };
    if (has & group_bit(SettingsGroup::InputExtension)) {
        ExtSettings e = v.ext;
        applied(apply_ext_settings(i, e));
    }
    if (has & group_bit(SettingsGroup::MailServer)) applied(apply_mail_alert(i, v.mail, MAIL_ALL));
    if (has & group_bit(SettingsGroup::AnalogInput)) {
        AnalogInputSettings a = v.ai;
        applied(apply_analog_input(i, a));
    }
    if (has & group_bit(SettingsGroup::AnalogInputV2)) {
        AnalogInputV2Settings a = v.ai2;
        applied(apply_analog_input_v2(i, a));
    }
    if (has & group_bit(SettingsGroup::AnalogOutput)) {
        AnalogOutputSettings a = v.ao;
        applied(apply_analog_output(i, a));
    }
    return ok;
}

}  // namespace clitest
