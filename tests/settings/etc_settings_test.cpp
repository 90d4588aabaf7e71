// The analog settings with no terminal: each group read from simulated units
// of every model and module kind that has it, changed, applied and read
// back, the bytes each unit received, and every refusal as the value the
// screen shows.
#include "settings/etc_settings.h"

#include "device/KIVRAXPort.h"
#include "settings/unit_search.h"
#include "tests/device/lab_support.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

using namespace devtest;

namespace {

const std::string kPlant = R"({"units": [
  {"name": "ai8", "ip": "192.0.2.10", "model": 8, "memory": {"0491": "02"},
   "ai": [{"range": 1}, {"range": 9}, {"range": 3}]},
  {"name": "ai8w", "ip": "192.0.2.11", "model": 8, "module": "wifi", "memory": {"0491": "07"}},
  {"name": "tc10", "ip": "192.0.2.12", "model": 10, "module": "gc", "memory": {"0491": "01"},
   "ai": [{"range": 6, "tc_type": 1, "tc_flags": 5, "tc_out": 3, "tc_low": 65436, "tc_high": 1000},
          {"range": 0, "tc_type": 12}, {}]},
  {"name": "ao9", "ip": "192.0.2.13", "model": 9, "module": "wifi",
   "memory": {"0b03": "01", "0b04": "80", "0b05": "00", "0b33": "00", "0b34": "60", "0b35": "00"}},
  {"name": "ao11", "ip": "192.0.2.14", "model": 11,
   "memory": {"0b03": "01", "0b33": "02", "0b63": "00", "0b64": "20", "0b65": "00"}},
  {"name": "odd", "ip": "192.0.2.15", "model": 10, "memory": {"0491": "f0"},
   "faults_on": [{"on_text": "TJ!", "close_early": true}]}]})";

// Lists the unit as the search does, with its model and module kind, its
// records read; its index.
int add(const char* address, int model, int modtype)
{
    const int u = listed_unit(address, model, modtype);
    EXPECT_EQ(EnsureUnitData(u), 0) << address;
    return u;
}

struct Lab : HostLab {
    Lab() : HostLab(kPlant) {}
    // The TCP requests of a unit from index `from` on, as hex.
    std::vector<std::string> sent(const char* unit, size_t from) const
    {
        std::vector<std::string> out;
        const auto all = requests(lab, unit, "tcp");
        for (size_t k = from; k < all.size(); k++) out.push_back(rig::hex(all[k]));
        return out;
    }
    size_t count(const char* unit) const { return requests(lab, unit, "tcp").size(); }
};

TEST(EtcSettings, FirstGenerationInputsAreReadChangedWrittenAndReadBackOnEveryModuleKind)
{
    Lab l;
    LogDir dir;
    struct Case {
        const char *name, *ip;
        int modtype;
        AnalogInputSettings read;
    } cases[] = {{"ai8", "192.0.2.10", MODTYPE_XPORT, {2, {1, 9, 3}}},
                 {"ai8w", "192.0.2.11", MODTYPE_WIFI, {7, {0, 0, 0}}}};
    for (const Case& c : cases) {
        const int u = add(c.ip, 8, c.modtype);
        const size_t before = l.count(c.name);
        AnalogInputSettings v;
        ASSERT_TRUE(read_analog_input(u, v).ok()) << dir.log();
        EXPECT_EQ(v, c.read) << c.name;
        EXPECT_EQ(l.sent(c.name, before),
                  (std::vector<std::string>{cmd("MR0491"), cmd("AJ", {0x20}), cmd("AJ", {0x21}),
                                            cmd("AJ", {0x22})}));
        // "400Hz" and "+/-10V" for AI1; a range without a text goes back as read.
        v.sampling = etc_choice_code(EtcChoice::Sampling, "400Hz");
        v.range[0] = etc_choice_code(EtcChoice::Range, "+/-10V");
        ASSERT_TRUE(apply_analog_input(u, v).ok()) << dir.log();
        EXPECT_EQ(l.sent(c.name, before + 4),
                  (std::vector<std::string>{cmd("AP", {0x24}), cmd("AR", {0x20, 0x22}),
                                            cmd("AR", {0x21, 0x20 + c.read.range[1]}),
                                            cmd("AR", {0x22, 0x20 + c.read.range[2]})}));
        AnalogInputSettings back;
        ASSERT_TRUE(read_analog_input(u, back).ok());
        EXPECT_EQ(back, v) << c.name;
    }
}

TEST(EtcSettings, SecondGenerationInputsCarryThermocouplesAndScalesInTenthsOfADegree)
{
    Lab l;
    LogDir dir;
    const int u = add("192.0.2.12", 10, MODTYPE_GC);
    const size_t before = l.count("tc10");
    AnalogInputV2Settings v;
    ASSERT_TRUE(read_analog_input_v2(u, v).ok()) << dir.log();
    const AnalogInputV2Settings read = {1,
                                        {{.range = 6,
                                          .tc_type = 1,
                                          .cold_junction = true,
                                          .burnout_high = true,
                                          .scale = 3,
                                          .scale_low = -100,
                                          .scale_high = 1000},
                                         {.tc_type = 12},
                                         {}}};
    EXPECT_EQ(v, read);
    EXPECT_EQ(l.sent("tc10", before).size(), 7u);

    v.sampling = 0;
    v.input[0] = {.range = 6,
                  .tc_type = 7,
                  .burnout_detection = true,
                  .scale = 1,
                  .scale_low = -32768,
                  .scale_high = 32767};
    v.input[2].range = 5;
    ASSERT_TRUE(apply_analog_input_v2(u, v).ok()) << dir.log();
    EXPECT_EQ(
        l.sent("tc10", before + 7),
        (std::vector<std::string>{
            cmd("AP", {0x20}), cmd("AR", {0x20, 0x26}), cmd("AR", {0x21, 0x20}),
            cmd("AR", {0x22, 0x25}), cmd("TC", {0x20, 0x27, 0x22}), cmd("TC", {0x21, 0x2C, 0x20}),
            cmd("TC", {0x22, 0x20, 0x20}), cmd("TF", {0x20, 0x21}, "80007FFF"),
            cmd("TF", {0x21, 0x20}, "00000000"), cmd("TF", {0x22, 0x20}, "00000000")}));
    AnalogInputV2Settings back;
    ASSERT_TRUE(read_analog_input_v2(u, back).ok());
    EXPECT_EQ(back, v);
}

TEST(EtcSettings, OutputsOfTwoAndThreeAreReadInVoltsAndMilliamperesWrittenAsCodesAndReadBack)
{
    Lab l;
    LogDir dir;
    const int ao9 = add("192.0.2.13", 9, MODTYPE_WIFI);
    const int ao11 = add("192.0.2.14", 11, MODTYPE_XPORT);
    const size_t before9 = l.count("ao9"), before11 = l.count("ao11");
    AnalogOutputSettings v9, v11;
    ASSERT_TRUE(read_analog_output(ao9, v9).ok() && read_analog_output(ao11, v11).ok())
        << dir.log();
    EXPECT_EQ(v9, (AnalogOutputSettings{{{AO_VOLTAGE, -10.0}, {AO_CURRENT, 15.0}, {}}}));
    EXPECT_EQ(v11,
              (AnalogOutputSettings{{{AO_VOLTAGE, 0.0}, {AO_UNKNOWN, 0.0}, {AO_CURRENT, 5.0}}}));
    EXPECT_EQ(l.sent("ao9", before9), (std::vector<std::string>{cmd("MR0B03"), cmd("MR0B33")}));
    EXPECT_EQ(l.sent("ao11", before11),
              (std::vector<std::string>{cmd("MR0B03"), cmd("MR0B33"), cmd("MR0B63")}));

    // Full scale is written as 0x7FFF; a negative current read is written back as read.
    v9.output[0] = {AO_VOLTAGE, 10.0};
    v9.output[1] = {AO_CURRENT, 7.5};
    v11.output[1] = {AO_VOLTAGE, -2.5};
    v11.output[2] = {AO_CURRENT, -20.0};
    EXPECT_EQ(output_code(v9.output[0]), 0x7FFF);
    ASSERT_TRUE(apply_analog_output(ao9, v9).ok() && apply_analog_output(ao11, v11).ok())
        << dir.log();
    EXPECT_EQ(l.sent("ao9", before9 + 2),
              (std::vector<std::string>{cmd("AQ", {0x20}, "7FFF"), cmd("AQ", {0x29}, "3000")}));
    EXPECT_EQ(l.sent("ao11", before11 + 3),
              (std::vector<std::string>{cmd("AQ", {0x20}, "0000"), cmd("AQ", {0x21}, "E000"),
                                        cmd("AQ", {0x2A}, "8000")}));
    AnalogOutputSettings back;
    ASSERT_TRUE(read_analog_output(ao11, back).ok());
    EXPECT_EQ(back, v11);
    ASSERT_TRUE(read_analog_output(ao9, back).ok());
    EXPECT_EQ(back.output[1], v9.output[1]);
    EXPECT_NEAR(back.output[0].value, 10.0, 10.0 / 32768);
}

TEST(EtcSettings, RefusalsAreTheScreensMessagesAndNothingIsSent)
{
    Lab l;
    LogDir dir;
    const int odd = add("192.0.2.15", 10, MODTYPE_XPORT);
    const int ao11 = add("192.0.2.14", 11, MODTYPE_XPORT);
    const int ai8 = add("192.0.2.10", 8, MODTYPE_XPORT);

    // The second "TJ" fails: the read stops there with the screen's message.
    AnalogInputV2Settings v2;
    const StepResult r = read_analog_input_v2(odd, v2);
    EXPECT_EQ(r.failed, 5);
    EXPECT_STREQ(r.message, "通信エラー");
    EXPECT_EQ(r.row, 15);
    EXPECT_NE(dir.log().find("sendrecv error\n"), std::string::npos);
    EXPECT_EQ(v2.sampling, 0xF0);

    AnalogOutputSettings ao;
    ASSERT_TRUE(read_analog_output(ao11, ao).ok());
    AnalogInputSettings ai;
    ASSERT_TRUE(read_analog_input(ai8, ai).ok());
    const size_t sent_odd = l.count("odd"), sent_ao = l.count("ao11"), sent_ai = l.count("ai8");
    const StepResult unsendable = apply_analog_input_v2(odd, v2);  // sampling 0xF0
    const StepResult no_kind = apply_analog_output(ao11, ao);      // AO2 reported kind 2
    // Values no screen makes and no request can carry.
    ao.output[1].kind = AO_VOLTAGE;
    ao.output[2].value = 20.5;  // mA
    ai.range[2] = 16;
    v2.sampling = 1;
    v2.input[1].scale_low = 40000;
    const char* unfit = "analog settings out of range\n";
    const struct {
        StepResult result;
        int step;
        const char *message, *log;
    } cases[] = {
        {unsendable, 0, "サンプリングを", nullptr},
        {no_kind, 0, "AO 種別を", nullptr},
        {apply_analog_output(ao11, ao), 1, nullptr, unfit},
        {apply_analog_input(ai8, ai), 1, nullptr, unfit},
        {apply_analog_input_v2(odd, v2), 1, nullptr, unfit},
        {read_analog_input(xportcount, ai), 0, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.result.failed, c.step);
        EXPECT_STREQ(c.result.message, c.message);
        EXPECT_STREQ(c.result.detail, c.message != nullptr ? "選択してください。" : nullptr);
        EXPECT_STREQ(c.result.log, c.log);
    }
    EXPECT_EQ(l.count("odd"), sent_odd);
    EXPECT_EQ(l.count("ao11"), sent_ao);
    EXPECT_EQ(l.count("ai8"), sent_ai);
}

TEST(EtcSettings, ReadsOfSeveralUnitsInParallelThreadsEachGetTheirOwnUnitsValues)
{
    Lab l;
    LogDir dir;
    const int units[] = {add("192.0.2.10", 8, MODTYPE_XPORT), add("192.0.2.11", 8, MODTYPE_WIFI),
                         add("192.0.2.13", 9, MODTYPE_WIFI), add("192.0.2.14", 11, MODTYPE_XPORT)};
    AnalogInputSettings in[2];
    AnalogOutputSettings out[2];
    bool ok[4] = {};
    std::vector<std::thread> threads;
    for (int k = 0; k < 4; k++)
        threads.emplace_back([&, k] {
            ok[k] = (k < 2 ? read_analog_input(units[k], in[k])
                           : read_analog_output(units[k], out[k - 2]))
                        .ok();
        });
    for (std::thread& t : threads) t.join();
    for (bool b : ok) EXPECT_TRUE(b);
    EXPECT_EQ(in[0].sampling, 2);
    EXPECT_EQ(in[1].sampling, 7);
    EXPECT_EQ(out[0].output[1].value, 15.0);
    EXPECT_EQ(out[1].output[2].value, 5.0);
}

TEST(EtcSettings, EachModelHasItsPartsOnEveryModuleKindAndCodesTheirTexts)
{
    const struct {
        int model;
        EtcParts parts;
    } models[] = {{0, {}},
                  {7, {}},
                  {8, {.input = true}},
                  {9, {.outputs = 2}},
                  {10, {.input_v2 = true}},
                  {11, {.outputs = 3}},
                  {12, {}},
                  {-1, {}}};
    for (const auto& m : models)
        for (int modtype : {MODTYPE_XPORT, MODTYPE_GC, MODTYPE_WIFI}) {
            const EtcParts p = etc_parts(m.model, modtype);
            EXPECT_EQ(p.input, m.parts.input) << m.model;
            EXPECT_EQ(p.input_v2, m.parts.input_v2) << m.model;
            EXPECT_EQ(p.outputs, m.parts.outputs) << m.model;
            EXPECT_EQ(p.any(), m.model >= 8 && m.model <= 11);
        }
    const struct {
        EtcChoice table;
        int code;
        const char* text;
    } texts[] = {{EtcChoice::Sampling, 7, "14400Hz"}, {EtcChoice::Range, 5, "0-20mA (250Ω)"},
                 {EtcChoice::RangeV2, 6, "熱電対"},   {EtcChoice::TcType, 0, "K 熱電対"},
                 {EtcChoice::Scale, 3, "4-20 mA"},    {EtcChoice::OutputKind, 1, "電流[mA]"}};
    for (const auto& t : texts) {
        EXPECT_STREQ(etc_choice_text(t.table, t.code), t.text);
        EXPECT_EQ(etc_choice_code(t.table, t.text), t.code);
    }
    // Codes without a text, in range of a table or not, and texts no table has.
    for (int code : {-1, 8, 15, 16, 0xF0})
        EXPECT_STREQ(etc_choice_text(EtcChoice::Sampling, code), "");
    EXPECT_STREQ(etc_choice_text(EtcChoice::Range, 6), "");
    EXPECT_STREQ(etc_choice_text(EtcChoice::OutputKind, AO_UNKNOWN), "");
    EXPECT_EQ(etc_choice_code(EtcChoice::Range, "熱電対"), -1);
    EXPECT_EQ(etc_choice_code(EtcChoice::Scale, ""), -1);
}

}  // namespace
