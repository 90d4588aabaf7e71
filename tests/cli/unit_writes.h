// What a unit was asked to change, from the lab's journal: record writes and
// set-address broadcasts it took (UDP), parameter and lettered writes to its
// controller, and texts set on a WiFi module; reads and queries left out.
#pragma once

#include <string>
#include <vector>

#include "rig/lab.h"

namespace clitest {

inline bool is_write(const rig::JournalEntry& e)
{
    if (e.dir != "in" || e.event == "ignored") return false;  // another unit's broadcast
    const std::vector<uint8_t>& b = e.bytes;
    if (e.proto == "udp")
        return b.size() > 4 && b[0] == 0 && b[2] == 0 && ((b[3] & 0xF0) == 0xC0 || b[3] == 0xFC);
    if (e.local.ends_with(":9998"))
        return !rig::starts_with(b, rig::as_bytes("DUMP")) &&
               !rig::starts_with(b, rig::as_bytes("VER"));
    if (b.size() == 2 && b[0] >= 0x91 && b[0] <= 0x9F) return true;
    static const char* const lettered[] = {"MW", "AS", "AL", "AP", "AR",
                                           "TC", "TF", "AQ", "DL", "DS"};
    for (const char* w : lettered)
        if (rig::starts_with(b, rig::as_bytes(w))) return true;
    return false;
}

// The writes unit received from journal line `from` on, in order: hex, or
// the text of a WiFi module's set text.
inline std::vector<std::string> writes(const rig::Lab& lab, const std::string& unit,
                                       size_t from = 0)
{
    std::vector<std::string> out;
    const std::vector<rig::JournalEntry> all = lab.journal();
    for (size_t k = from; k < all.size(); k++) {
        const rig::JournalEntry& e = all[k];
        if (e.unit != unit || !is_write(e)) continue;
        if (e.local.ends_with(":9998"))
            out.emplace_back(e.bytes.begin(), e.bytes.end());
        else
            out.push_back(rig::hex(e.bytes));
    }
    return out;
}

}  // namespace clitest
