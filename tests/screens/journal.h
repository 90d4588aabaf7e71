// What a unit received and sent, read from the lab's journal for the screen
// stories: its TCP requests, datagrams, and the setup records it was asked
// for, answered and had written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rig/lab.h"

namespace op {

using Bytes = std::vector<uint8_t>;

inline const Bytes UU{0x55, 0x55};  // the model query

// The TCP requests a unit received, in order.
inline std::vector<Bytes> tcp_in(const rig::Lab& lab, const std::string& unit)
{
    std::vector<Bytes> out;
    for (const rig::JournalEntry& e : lab.received(unit))
        if (e.proto == "tcp") out.push_back(e.bytes);
    return out;
}

inline int count_received(const rig::Lab& lab, const std::string& unit, const Bytes& bytes)
{
    int n = 0;
    for (const rig::JournalEntry& e : lab.received(unit))
        if (e.bytes == bytes) n++;
    return n;
}

inline int count_tcp(const rig::Lab& lab, const std::string& unit)
{
    return static_cast<int>(tcp_in(lab, unit).size());
}

// The setup records (0x00 0x00 0x00 0xE0+n) a unit was asked for, in order.
inline std::vector<int> records_read(const rig::Lab& lab, const std::string& unit)
{
    std::vector<int> out;
    for (const rig::JournalEntry& e : lab.received(unit)) {
        if (e.proto == "udp" && e.bytes.size() == 4 && e.bytes[0] == 0 && e.bytes[1] == 0 &&
            e.bytes[2] == 0 && e.bytes[3] >= 0xE0 && e.bytes[3] <= 0xEF)
            out.push_back(e.bytes[3] - 0xE0);
    }
    return out;
}

// The datagrams a unit received whose fourth byte (the request code) is code.
inline std::vector<rig::JournalEntry> udp_in(const rig::Lab& lab, const std::string& unit,
                                             uint8_t code)
{
    std::vector<rig::JournalEntry> out;
    for (const rig::JournalEntry& e : lab.received(unit))
        if (e.proto == "udp" && e.bytes.size() >= 4 && e.bytes[3] == code) out.push_back(e);
    return out;
}

// Setup record n as the unit first answered its read (record 0 is 124
// bytes, the others 130), empty if it never did; and the images of record
// n written to it.
inline Bytes record_read(const rig::Lab& lab, const std::string& unit, int n)
{
    const size_t size = n == 0 ? 124 : 130;
    for (const rig::JournalEntry& e : lab.sent(unit))
        if (e.proto == "udp" && e.bytes.size() == size && e.bytes[3] == 0xD0 + n) return e.bytes;
    return {};
}
inline std::vector<Bytes> record_writes(const rig::Lab& lab, const std::string& unit, int n)
{
    std::vector<Bytes> out;
    for (const rig::JournalEntry& e : udp_in(lab, unit, static_cast<uint8_t>(0xC0 + n)))
        out.push_back(e.bytes);
    return out;
}

}  // namespace op
