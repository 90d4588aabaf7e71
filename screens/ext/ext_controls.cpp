// The controller settings of the input extension screen by model: which
// models have a disconnection time, a periodic notice and a chattering
// time, how each is read and written, and what a failure says and logs.
#include "screens/ext/ext_screen.h"

#include "device/extend_commands.h"
#include "screens/legacy_driver.h"
#include "ui/form_catalogue.h"
#include "ui/NQ_Menu.h"

#include <cstdio>
#include <initializer_list>

namespace {

constexpr unsigned models(std::initializer_list<int> list)
{
    unsigned bits = 0;
    for (int m : list) bits |= 1u << m;
    return bits;
}

constexpr unsigned kDigital = models({0, 1, 2, 5, 6});
constexpr unsigned kMemory = models({9, 11});
constexpr unsigned kLettered = models({8, 10});

// Models 9 and 11 keep the notice in the high nibble of a memory byte.
int read_notice_memory(int unit, int* code)
{
    int byte = 0;
    if (GetMemoryByte(unit, MEM_NOTICE, &byte) != 0) return -1;
    *code = byte >> 4;
    return 0;
}
int write_notice_memory(int unit, int code)
{
    return SetMemoryByte(unit, MEM_NOTICE, code * 16 + 15);
}
int read_chatter_memory(int unit, int* ms) { return GetMemoryByte(unit, MEM_CHATTER, ms); }
int write_chatter_memory(int unit, int ms) { return SetMemoryByte(unit, MEM_CHATTER, ms); }

const ExControl kControls[] = {
    {EXS_DISC, kDigital, NQKivraGetDisconnectionTime, "通信エラー",
     "disconnection time get error\n", NQKivraSetDisconnectionTime, "通信エラー",
     "set disconnection time error\n", FORM_DISC_TIME, DiscTime, 16},
    {EXS_NOTICE, kDigital, NQKivraGetNoticeTime, "通信エラー", "get noticetime error\n",
     NQKivraSetNoticeTime, "通信エラー", "set noticetime error\n", FORM_NOTICE, AutoPeriod, 5},
    {EXS_NOTICE, kMemory, read_notice_memory, "通信エラー(定期通知)", "sendrecv error\n",
     write_notice_memory, "通信エラー(定期通知)", "send recv error\n", FORM_NOTICE, AutoPeriod, 5},
    {EXS_NOTICE, kLettered, GetNoticeA, "通信エラー", "sendrecv error\n", SetNoticeA, "通信エラー",
     "send recv error\n", FORM_NOTICE_A, AutoPeriodA, 14},
    {EXS_CHAT, kDigital, NQKivraGetDiDetectTime, "通信エラー", "get chattering time  error\n",
     NQKivraSetDiDetectTime, "通信エラー", "setdidetecttime error\n", FORM_CHATTER, nullptr, 0},
    {EXS_CHAT, kMemory, read_chatter_memory, "通信エラー(チャタリング)", "sendrecv error\n",
     write_chatter_memory, "通信エラー(チャタリング)", "sendrecv error\n", FORM_CHATTER_0, nullptr,
     0},
};

// Reads one controller setting into extset and shows it.
template <ExSetting S>
int read_setting(int unit, void*)
{
    const ExControl* c = ex_control(S, unit_model(unit));
    int v = 0;
    if (c == nullptr || c->read(unit, &v) != 0) return -1;
    *ex_value(S) = S == EXS_CHAT ? v : (v & 0x0F);
    ex_show_setting(unit, S);
    doupdate();
    return 0;
}

template <ExSetting S>
int write_setting(int unit, void*)
{
    const ExControl* c = ex_control(S, unit_model(unit));
    return c != nullptr ? c->write(unit, *ex_value(S)) : -1;
}

// Writing the disconnection time already sets the notice to "None", so
// the notice is sent only while the disconnection time is "None".
bool notice_goes(int, const void*) { return !(extset.has_disc && extset.disc != 15); }

}  // namespace

int ex_control_steps(int model, bool write, Step* out)
{
    using Exchange = int (*)(int, void*);
    static const Exchange reads[] = {read_setting<EXS_DISC>, read_setting<EXS_NOTICE>,
                                     read_setting<EXS_CHAT>};
    static const Exchange writes[] = {write_setting<EXS_DISC>, write_setting<EXS_NOTICE>,
                                      write_setting<EXS_CHAT>};
    int n = 0;
    for (ExSetting s : {EXS_DISC, EXS_NOTICE, EXS_CHAT}) {
        const ExControl* c = ex_control(s, model);
        if (c == nullptr) continue;
        if (write) {
            out[n++] = {writes[s],        20,           c->write_message,
                        MSG_ROW_SETTINGS, c->write_log, s == EXS_NOTICE ? notice_goes : nullptr};
        } else {
            out[n++] = {reads[s], 20, c->read_message, MSG_ROW_SETTINGS, c->read_log, nullptr};
            // The notice and the chattering time are followed by a pause as well.
            if (s != EXS_DISC) out[n++] = {nullptr, 20, nullptr, 0, nullptr, nullptr};
        }
    }
    return n;
}

const ExControl* ex_control(ExSetting s, int model)
{
    if (model < 0 || model > 31) return nullptr;
    for (const ExControl& c : kControls)
        if (c.setting == s && (c.models & (1u << model)) != 0) return &c;
    return nullptr;
}

int* ex_value(ExSetting s)
{
    switch (s) {
    case EXS_DISC:
        return &extset.disc;
    case EXS_NOTICE:
        return &extset.notice;
    case EXS_CHAT:
        break;
    }
    return &extset.chat;
}

void ex_value_text(ExSetting s, int model, char* out, int size)
{
    const ExControl* c = ex_control(s, model);
    if (c == nullptr || size <= 0) {
        if (size > 0) out[0] = '\0';
        return;
    }
    // A code read from the unit may name a slot without text: it shows empty.
    if (c->choices != nullptr)
        std::snprintf(out, static_cast<size_t>(size), "%s",
                      choice_text(c->choices, 16, *ex_value(s)));
    else
        std::snprintf(out, static_cast<size_t>(size), "%d", *ex_value(s));
}
