// The analog outputs read ("MR0B03", "MR0B33", "MR0B63") and written ("AQ")
// as step tables; the third output only on a unit that has one.
#include "settings/etc_settings.h"
#include "settings/etc_steps.h"

#include <cmath>

using etc_steps::exchange;
using etc_steps::request;

namespace {

using Outputs = AnalogOutputSettings;

// Three outputs on a unit that has them, else two.
int outputs_of(int unit)
{
    return etc_parts(unit_model(unit), unit_modtype(unit)).outputs > 2 ? 3 : 2;
}
bool has_third(int unit, const Outputs&) { return outputs_of(unit) > 2; }

template <int C>
int read_output(int unit, Outputs& v)
{
    uint8_t req[AO_READ_LEN];
    uint8_t rep[AO_REPLY_LEN] = {};
    build_ao_read(C, req);
    int digits = 0, code = 0;
    if (exchange(unit, req, AO_READ_LEN, rep, AO_REPLY_LEN) != 0 ||
        parse_ao_reply(rep, &digits, &code) != 0)
        return -1;
    AnalogOutput& out = v.output[C];
    out.kind = ao_kind_from_digits(digits);
    out.value = out.kind == AO_UNKNOWN ? 0.0 : ao_value_from_code(out.kind, code);
    return 0;
}

constexpr SettingsStep<Outputs> kPauseAfter = {.pause_ms = etc_steps::kPauseMs};

const SettingsStep<Outputs> kRead[] = {
    request(read_output<0>),
    request(read_output<1>),
    request(read_output<2>, has_third),
    kPauseAfter,
};

// A kind without a name has no channel byte: the operator chooses one first.
bool kind_unknown(int unit, const Outputs& v)
{
    for (int c = 0; c < outputs_of(unit); c++)
        if (v.output[c].kind == AO_UNKNOWN) return true;
    return false;
}

// A kind other than the three, or a value that is no number or lies beyond
// full scale (a read value never does).
bool unfit(int unit, const Outputs& v)
{
    for (int c = 0; c < outputs_of(unit); c++) {
        const AnalogOutput& out = v.output[c];
        const double full = out.kind == AO_CURRENT ? 20.0 : 10.0;
        if ((out.kind != AO_VOLTAGE && out.kind != AO_CURRENT && out.kind != AO_UNKNOWN) ||
            !std::isfinite(out.value) || std::fabs(out.value) > full)
            return true;
    }
    return false;
}

template <int C>
int write_output(int unit, Outputs& v)
{
    uint8_t req[AO_WRITE_LEN];
    if (build_ao_write(C, v.output[C].kind, output_code(v.output[C]), req) != 0) return -1;
    return etc_steps::write_request(unit, req, AO_WRITE_LEN);
}

constexpr SettingsStep<Outputs> kApply[] = {
    {.exchange = etc_steps::refuse<Outputs>,
     .message = "AO 種別を",
     .detail = "選択してください。",
     .row = MSG_ROW_SETTINGS,
     .applies = kind_unknown},
    etc_steps::unfit(unfit),
    request(write_output<0>),
    request(write_output<1>),
    request(write_output<2>, has_third),
    kPauseAfter,
};
static_assert(kApply[ETC_APPLY_REFUSALS - 1].exchange == etc_steps::refuse<Outputs>);
static_assert(kApply[ETC_APPLY_REFUSALS].pause_ms == etc_steps::kPauseMs);  // the first write

}  // namespace

StepResult read_analog_output(int unit, AnalogOutputSettings& out)
{
    out = AnalogOutputSettings{};
    return etc_steps::run(kRead, unit, out);
}

StepResult apply_analog_output(int unit, AnalogOutputSettings& values)
{
    return etc_steps::run(kApply, unit, values);
}
