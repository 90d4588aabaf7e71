// Reading a plant file into units, and writing the units' state.
#pragma once

#include <string>
#include <vector>

#include "lab/sim/unit.h"

namespace sim {

struct Plant {
    std::vector<Unit> units;
    std::vector<uint32_t> hosts;  // addresses that only answer ping (on network 1)
    int networks = 1;             // plant networks, each on a link of its own to the host
};

// Parses plant JSON text; false with a reason in *error when it is unusable.
bool load_plant(const std::string& json_text, Plant* plant, std::string* error);

// {"units": {"name": {...}, ...}} as described in lab/PLANT.md.
std::string state_json(const std::vector<Unit>& units);

std::string to_hex(const std::vector<uint8_t>& bytes);
bool from_hex(const std::string& text, std::vector<uint8_t>* bytes);

}  // namespace sim
