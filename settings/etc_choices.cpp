// Which analog settings a unit has, and the texts of their codes.
#include "settings/etc_settings.h"

#include "base/choice_tables.h"

#include <cstring>
#include <iterator>

namespace {

constexpr int kSlots = 16;  // every choice table has 16 slots

const char* const kOutputKinds[kSlots] = {"電圧[v]", "電流[mA]"};  // by AO_VOLTAGE, AO_CURRENT

// By EtcChoice.
const char* const* const kTables[] = {AdcSamp, AdcRange, AdcRangeV2, TCType, TFMode, kOutputKinds};

static_assert(std::size(kTables) == static_cast<size_t>(EtcChoice::OutputKind) + 1);

const char* const* table_of(EtcChoice t)
{
    const auto k = static_cast<size_t>(t);
    return k < std::size(kTables) ? kTables[k] : nullptr;
}

}  // namespace

EtcParts etc_parts(int model, int)
{
    EtcParts p;
    p.input = model == 8;
    p.input_v2 = model == 10;
    p.outputs = model == 9 ? 2 : model == 11 ? 3 : 0;
    return p;
}

const char* etc_choice_text(EtcChoice t, int code)
{
    const char* const* table = table_of(t);
    if (table == nullptr || code < 0 || code >= kSlots || table[code] == nullptr) return "";
    return table[code];
}

int etc_choice_code(EtcChoice t, const char* text)
{
    if (text == nullptr || text[0] == '\0') return -1;
    for (int code = 0; code < kSlots; code++)
        if (std::strcmp(etc_choice_text(t, code), text) == 0) return code;
    return -1;
}

int output_code(const AnalogOutput& out) { return ao_code_from_value(out.kind, out.value); }
