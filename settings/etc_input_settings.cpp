// The analog inputs of both generations read and written as step tables:
// "MR0491" and "AJ" per input (second generation: "TJ" per input too) when
// read; "AP", "AR" per input (second generation: "TC" and then "TF" per
// input) when written.
#include "settings/etc_settings.h"
#include "settings/etc_steps.h"

using etc_steps::exchange;
using etc_steps::request;

namespace {

using V1 = AnalogInputSettings;
using V2 = AnalogInputV2Settings;

int& range_of(V1& v, int c) { return v.range[c]; }
int& range_of(V2& v, int c) { return v.input[c].range; }

// ---- reads ----

template <class G>
int read_sampling(int unit, G& v)
{
    uint8_t req[SAMPLING_READ_LEN];
    uint8_t rep[SAMPLING_REPLY_LEN] = {};
    build_sampling_read(req);
    if (exchange(unit, req, SAMPLING_READ_LEN, rep, SAMPLING_REPLY_LEN) != 0) return -1;
    return parse_sampling_reply(rep, &v.sampling);
}

template <class G, int C>
int read_range(int unit, G& v)
{
    uint8_t req[RANGE_READ_LEN];
    uint8_t rep[RANGE_REPLY_LEN] = {};
    build_range_read(C, req);
    if (exchange(unit, req, RANGE_READ_LEN, rep, RANGE_REPLY_LEN) != 0) return -1;
    range_of(v, C) = parse_range_reply(rep);
    return 0;
}

template <int C>
int read_tc(int unit, V2& v)
{
    uint8_t req[TC_READ_LEN];
    uint8_t rep[TC_REPLY_LEN] = {};
    build_tc_read(C, req);
    TcSettings tc{};
    if (exchange(unit, req, TC_READ_LEN, rep, TC_REPLY_LEN) != 0 || parse_tc_reply(rep, &tc) != 0)
        return -1;
    AnalogInputV2& in = v.input[C];
    in.tc_type = tc.type;
    in.cold_junction = (tc.flags & 1) != 0;
    in.burnout_detection = (tc.flags & 2) != 0;
    in.burnout_high = (tc.flags & 4) != 0;
    in.scale = tc.mode;
    in.scale_low = temp_tenths_from_pattern(tc.low);
    in.scale_high = temp_tenths_from_pattern(tc.high);
    return 0;
}

// The screen is shown 10 ms after the last read.
template <class G>
constexpr SettingsStep<G> kShownAfter = {.pause_ms = 10};

const SettingsStep<V1> kReadV1[] = {
    request(read_sampling<V1>),
    request(read_range<V1, 0>),
    request(read_range<V1, 1>),
    request(read_range<V1, 2>),
    kShownAfter<V1>,
};

const SettingsStep<V2> kReadV2[] = {
    request(read_sampling<V2>), request(read_range<V2, 0>),
    request(read_range<V2, 1>), request(read_range<V2, 2>),
    request(read_tc<0>),        request(read_tc<1>),
    request(read_tc<2>),        kShownAfter<V2>,
};

// ---- writes ----

// A code read from the unit that the "AP" byte cannot carry is never sent.
template <class G>
bool sampling_unsendable(int, const G& v)
{
    return v.sampling < 0 || v.sampling > SAMPLING_CODE_MAX;
}

template <class G>
constexpr SettingsStep<G> kChooseSampling = {.exchange = etc_steps::refuse<G>,
                                             .message = "サンプリングを",
                                             .detail = "選択してください。",
                                             .row = MSG_ROW_SETTINGS,
                                             .applies = sampling_unsendable<G>};

bool in_range(int value, int low, int high) { return value >= low && value <= high; }

bool v1_unfit(int, const V1& v)
{
    for (int r : v.range)
        if (!in_range(r, 0, 15)) return true;
    return false;
}

bool v2_unfit(int, const V2& v)
{
    for (const AnalogInputV2& in : v.input)
        if (!in_range(in.range, 0, 15) || !in_range(in.tc_type, 0, 15) ||
            !in_range(in.scale, 0, 3) || !in_range(in.scale_low, -32768, 32767) ||
            !in_range(in.scale_high, -32768, 32767))
            return true;
    return false;
}

template <class G>
int write_sampling(int unit, G& v)
{
    uint8_t req[SAMPLING_WRITE_LEN];
    if (build_sampling_write(v.sampling, req) != 0) return -1;
    return etc_steps::write_request(unit, req, SAMPLING_WRITE_LEN);
}

template <class G, int C>
int write_range(int unit, G& v)
{
    uint8_t req[RANGE_WRITE_LEN];
    build_range_write(C, range_of(v, C), req);
    return etc_steps::write_request(unit, req, RANGE_WRITE_LEN);
}

TcSettings tc_of(const AnalogInputV2& in)
{
    const int flags =
        (in.cold_junction ? 1 : 0) | (in.burnout_detection ? 2 : 0) | (in.burnout_high ? 4 : 0);
    return TcSettings{in.tc_type, flags, in.scale, temp_pattern_from_tenths(in.scale_low),
                      temp_pattern_from_tenths(in.scale_high)};
}

// "TC" (type and flags) or "TF" (scale) of input C.
template <int C, int Len, void (*Build)(int, const TcSettings&, uint8_t*)>
int write_tc(int unit, V2& v)
{
    uint8_t req[Len];
    Build(C, tc_of(v.input[C]), req);
    return etc_steps::write_request(unit, req, Len);
}
template <int C>
constexpr auto write_tc_type = write_tc<C, TC_WRITE_LEN, build_tc_write>;
template <int C>
constexpr auto write_tf = write_tc<C, TF_WRITE_LEN, build_tf_write>;

// 20 ms after the last write.
template <class G>
constexpr SettingsStep<G> kWrittenAfter = {.pause_ms = etc_steps::kPauseMs};

constexpr SettingsStep<V1> kApplyV1[] = {
    kChooseSampling<V1>,         etc_steps::unfit(v1_unfit),  request(write_sampling<V1>),
    request(write_range<V1, 0>), request(write_range<V1, 1>), request(write_range<V1, 2>),
    kWrittenAfter<V1>,
};

constexpr SettingsStep<V2> kApplyV2[] = {
    kChooseSampling<V2>,         etc_steps::unfit(v2_unfit),  request(write_sampling<V2>),
    request(write_range<V2, 0>), request(write_range<V2, 1>), request(write_range<V2, 2>),
    request(write_tc_type<0>),   request(write_tc_type<1>),   request(write_tc_type<2>),
    request(write_tf<0>),        request(write_tf<1>),        request(write_tf<2>),
    kWrittenAfter<V2>,
};
static_assert(kApplyV1[ETC_APPLY_REFUSALS - 1].exchange == etc_steps::refuse<V1>);
static_assert(kApplyV2[ETC_APPLY_REFUSALS - 1].exchange == etc_steps::refuse<V2>);
// The first write waits its 20 ms; a refusal never waits.
static_assert(kApplyV2[ETC_APPLY_REFUSALS].pause_ms == etc_steps::kPauseMs);
static_assert(kApplyV1[ETC_APPLY_REFUSALS].pause_ms == etc_steps::kPauseMs);

}  // namespace

StepResult read_analog_input(int unit, AnalogInputSettings& out)
{
    out = AnalogInputSettings{};
    return etc_steps::run(kReadV1, unit, out);
}

StepResult read_analog_input_v2(int unit, AnalogInputV2Settings& out)
{
    out = AnalogInputV2Settings{};
    return etc_steps::run(kReadV2, unit, out);
}

StepResult apply_analog_input(int unit, AnalogInputSettings& values)
{
    return etc_steps::run(kApplyV1, unit, values);
}

StepResult apply_analog_input_v2(int unit, AnalogInputV2Settings& values)
{
    return etc_steps::run(kApplyV2, unit, values);
}
