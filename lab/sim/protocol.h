// What a unit answers, as pure functions of its state and the bytes it received.
// The network loop (net.cpp) only moves these bytes and applies timing faults.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "lab/sim/unit.h"

namespace sim {

using Bytes = std::vector<uint8_t>;

// ---- XPort module, UDP port 30718 ----
struct DatagramResult {
    std::vector<Bytes> replies;  // answers, in order (usually zero or one)
    bool changed = false;        // the unit's state changed
    bool restart = false;        // the unit restarts once it has answered
    std::string event;           // "" or "ignored" (received, not answered on purpose)
    bool discovery = false;      // the replies answer a discovery query
};
// f: the fault knobs acting on this datagram (Unit::faults_for).
DatagramResult answer_datagram(Unit& u, const Bytes& datagram, const Faults& f);

// ---- Controller, TCP at the command port ----
enum class Frame { Need, Request, Junk };
// How many bytes of buf form the next request (*len), or Need more, or Junk (all of buf).
Frame frame_request(const Bytes& buf, size_t* len);

struct CommandResult {
    Bytes reply;           // empty: no answer
    bool changed = false;  // the unit's state changed
    std::string event;     // "", "ignored", "bad length", "bad value", "unknown"
};
CommandResult answer_command(Unit& u, const Bytes& request);
// The wrong_echo fault: a parameter read answers with the write code, a write's
// echo (parameter or lettered) has its last value byte changed.
void wrong_echo(Bytes& reply, const Bytes& request);

// ---- WiFi module, TCP port 9998 ----
enum class WifiFrame { Need, Dump, Version, SetText };
WifiFrame frame_wifi(const Bytes& buf, size_t* len);
Bytes wifi_dump(const Unit& u);      // the dump reply, faults included
Bytes wifi_versions(const Unit& u);  // the two version lines
// Stores the pairs of a set text (bytes up to and including its END line, or what
// arrived before the tool closed). Returns the number of pairs stored.
int apply_set_text(Unit& u, const Bytes& text);

// Replaces bytes by junk of the same length (the garbage fault).
void garble(Bytes& bytes);

}  // namespace sim
