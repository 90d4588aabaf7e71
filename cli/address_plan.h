// The consecutive addresses of "set-address --all --from FIRST": each unit,
// in the order given, gets the next address from FIRST on that no other
// host has. An address is skipped when another unit of the plant has it
// now (a unit keeps its own address when it comes to it), when some host
// answers a ping at it, and when it is no unit address (0/8, 127/8, 224/4
// and above, a broadcast of the host's networks, or with the unit's mask
// the network's own or broadcast address). The run stays in FIRST's network
// under each unit's mask; a unit for which none is left gets none.
#pragma once

#include <netinet/in.h>

struct AddressWant {
    in_addr_t own;        // the address it has now, network order
    in_addr_t mask;       // the mask it will have, network order; 0 when not known
    bool wants;           // it is to get an address
    in_addr_t given = 0;  // out: its address, network order; 0 none left (or not wanted)
};

enum class SkipReason { Listed, AnswersPing, NotUnitAddress };
struct SkippedAddress {
    in_addr_t address;  // network order
    SkipReason why;
};
const char* skip_reason_text(SkipReason why);

// Pings n addresses (all at once) and says which answered.
using PingAll = void (*)(const in_addr_t* addresses, int n, bool* answered);
// The host's ping, one thread per address.
void ping_all(const in_addr_t* addresses, int n, bool* answered);

constexpr int SKIPPED_MAX = 1024;
// Plans the addresses of units[0..n) in order; taken[0..taken_n) are the
// addresses the plant's units have now. The addresses passed over are in
// skipped (at most SKIPPED_MAX, in order).
void plan_addresses(in_addr_t first, AddressWant* units, int n, const in_addr_t* taken, int taken_n,
                    PingAll ping, SkippedAddress* skipped, int* skipped_n);
