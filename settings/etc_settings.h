// The other settings of the analog units, kept in their controllers: the
// analog inputs of the first generation (model 8: ADC sampling and three
// input ranges) and of the second (model 10: sampling and, per input, its
// range, thermocouple and temperature output scale), and the analog outputs
// (models 9 and 11: each output's kind and default value). Each is read with
// the controller commands the screen uses when it opens and written back
// whole; every failure is a StepResult whose message the screens show at
// row 15 ("通信エラー" with the log line "sendrecv error\n" for a failed
// exchange). An index outside the device table fails at once, with no message.
#pragma once

#include "device/analog_commands.h"
#include "settings/settings_steps.h"

// ---- what a unit has ----

// The parts of the other settings a unit has by model and module kind (the
// settings live in the controller, so every module kind has them).
struct EtcParts {
    bool input = false;  // first-generation analog inputs (AnalogInputSettings)
    bool input_v2 =
        false;        // second-generation analog inputs with thermocouples (AnalogInputV2Settings)
    int outputs = 0;  // analog outputs (AnalogOutputSettings): 2 or 3; 0 none
    bool any() const { return input || input_v2 || outputs > 0; }
};
EtcParts etc_parts(int model, int modtype);

// ---- codes and their texts ----

// The choice tables of the analog settings. A code is what the unit holds;
// its text is the one the screens show and the operator names.
enum class EtcChoice {
    Sampling,    // "10Hz" .. "14400Hz" (codes 0..7)
    Range,       // first generation: "+/-100mV" .. "0-20mA (250Ω)" (0..5)
    RangeV2,     // second generation: the same and "熱電対" (6)
    TcType,      // "K 熱電対" .. "B 熱電対" (0..7)
    Scale,       // temperature output scale: "0-10 V", "0-5 V", "1-5 V", "4-20 mA" (0..3)
    OutputKind,  // AO_VOLTAGE "電圧[v]", AO_CURRENT "電流[mA]"
};
// The text of a code: "" for a code without one (a unit may hold such
// codes; they are written back as read).
const char* etc_choice_text(EtcChoice table, int code);
// The code of a text, -1 when the table has no such text.
int etc_choice_code(EtcChoice table, const char* text);

constexpr int RANGE_THERMOCOUPLE = 6;  // the second generation's range "熱電対"

// ---- the groups ----

// Analog inputs, first generation (model 8).
struct AnalogInputSettings {
    int sampling = 0;                 // ADC sampling code (EtcChoice::Sampling), 0..255 as read
    int range[ANALOG_CHANNELS] = {};  // input range code of AI1..AI3 (EtcChoice::Range), 0..15
    bool operator==(const AnalogInputSettings&) const = default;
};

// One input of the second generation: its range and, used while the range
// is "熱電対", the thermocouple and the temperature output scale.
struct AnalogInputV2 {
    int range = 0;                   // input range code (EtcChoice::RangeV2), 0..15
    int tc_type = 0;                 // thermocouple type code (EtcChoice::TcType), 0..15
    bool cold_junction = false;      // cold-junction compensation on
    bool burnout_detection = false;  // burn-out detection on
    bool burnout_high = false;       // on burn-out the value goes to its maximum (else minimum)
    int scale = 0;                   // temperature output scale code (EtcChoice::Scale), 0..3
    int scale_low = 0;               // temperature at the low end of the scale, tenths of a degree
    int scale_high = 0;              // at the high end; both -32768..32767
    bool operator==(const AnalogInputV2&) const = default;
};

// Analog inputs, second generation (model 10).
struct AnalogInputV2Settings {
    int sampling = 0;                           // as AnalogInputSettings::sampling
    AnalogInputV2 input[ANALOG_CHANNELS] = {};  // AI1..AI3
    bool operator==(const AnalogInputV2Settings&) const = default;
};

// One analog output's default. Its kind is AO_VOLTAGE, AO_CURRENT, or
// AO_UNKNOWN for a kind the unit reported that has no name.
struct AnalogOutput {
    int kind = AO_VOLTAGE;  // EtcChoice::OutputKind
    double value = 0.0;     // volts (-10..+10) or milliamperes (0..20); 0 for an unknown kind
    bool operator==(const AnalogOutput&) const = default;
};
// The 16-bit code the output is written as: the value's fraction of full
// scale in 32768ths, saturated (+10 V and 20 mA give 0x7FFF).
int output_code(const AnalogOutput& out);

// Analog outputs (model 9: two, model 11: three; model 9's third keeps its defaults).
struct AnalogOutputSettings {
    AnalogOutput output[ANALOG_CHANNELS] = {};  // AO1..AO3
    bool operator==(const AnalogOutputSettings&) const = default;
};

// ---- reads and applies ----

// Each read clears the struct and asks the controller for every value of
// its group, 20 ms before each request and 10 ms (outputs: 20 ms) after the
// last; a failed request stops it (the values before it are kept).
StepResult read_analog_input(int unit, AnalogInputSettings& out);
StepResult read_analog_input_v2(int unit, AnalogInputV2Settings& out);
StepResult read_analog_output(int unit, AnalogOutputSettings& out);

// Each apply writes the whole group, 20 ms before each request and after the
// last; the first failed write stops it (the writes before it stay made).
// Refused before anything is sent: a sampling code its request byte cannot
// carry ("サンプリングを" / "選択してください。"), an output of an unknown
// kind ("AO 種別を" / "選択してください。"), and values the requests cannot
// carry (no message; logged "analog settings out of range\n").
StepResult apply_analog_input(int unit, AnalogInputSettings& values);  // "AP", "AR" x 3
StepResult apply_analog_input_v2(int unit,
                                 AnalogInputV2Settings& values);         // and "TC" x 3, "TF" x 3
StepResult apply_analog_output(int unit, AnalogOutputSettings& values);  // "AQ" per output
// Each apply's first steps only refuse: a failure among them sent nothing.
constexpr int ETC_APPLY_REFUSALS = 2;
