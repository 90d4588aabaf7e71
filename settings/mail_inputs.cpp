// The digital-input mail rows: which rows a unit has and where it keeps
// them (controller parameters, memory at 0x0432, or bits of record 6),
// read as enable and logic masks, written back from the rows' modes.
#include "settings/mail_job.h"

#include "device/record_fields.h"

namespace {

constexpr int kDiAddress = 0x0432;  // logic mask, then enable mask

// What each model has. A WiFi module keeps its rows in the controller
// parameters, three choices each, and has the section even without rows.
struct ModelMail {
    bool wired;     // mail alerts on an XPort unit (plain or "GC")
    bool wifi;      // mail alerts on a WiFi module
    int rows;       // digital-input rows of an XPort unit
    int cols;       // and their choices
    DiWay way;      // and where the unit keeps them
    int wifi_rows;  // digital-input rows of a WiFi module
    int ai_inputs;  // analog inputs with thresholds
};
constexpr ModelMail kNone{false, false, 0, 0, DiWay::None, 0, 0};
constexpr ModelMail kModels[16] = {
    /* 0  */ {true, true, 3, 3, DiWay::Accessors, 3, 0},
    /* 1  */ {false, true, 0, 0, DiWay::None, 2, 0},
    /* 2  */ {true, true, 2, 3, DiWay::Record6, 7, 0},
    /* 3  */ kNone,
    /* 4  */ {true, true, 1, 2, DiWay::Record6, 2, 0},
    /* 5  */ {true, true, 5, 3, DiWay::Accessors, 5, 0},
    /* 6  */ {true, true, 3, 3, DiWay::Accessors, 3, 0},
    /* 7  */ {false, true, 0, 0, DiWay::None, 0, 0},
    /* 8  */ {true, true, 0, 0, DiWay::None, 0, 3},
    /* 9  */ {true, true, 3, 3, DiWay::Memory, 0, 2},
    /* 10 */ {true, true, 0, 0, DiWay::None, 0, 3},
    /* 11 */ {true, true, 2, 3, DiWay::Memory, 0, 3},
    /* 12 */ {false, true, 0, 0, DiWay::None, 0, 0},
    /* 13 */ {false, true, 0, 0, DiWay::None, 0, 0},
    /* 14 */ {false, true, 0, 0, DiWay::None, 0, 0},
    /* 15 */ {false, true, 0, 0, DiWay::None, 0, 0},
};

}  // namespace

MailPresence mail_presence(int model, int modtype)
{
    const ModelMail& m = model >= 0 && model < 16 ? kModels[model] : kNone;
    const bool wifi = is_wifi(modtype), gc = is_gc(modtype);
    MailPresence p{};
    p.exists = wifi ? m.wifi : m.wired;
    p.named = p.auth = gc || wifi;
    p.records = !wifi;
    p.di_rows = wifi ? m.wifi_rows : m.rows;
    p.di_cols = wifi ? 3 : m.cols;
    p.di_way = wifi ? DiWay::Accessors : m.way;
    p.di_bits = !wifi && m.way != DiWay::None;
    p.ai_inputs = m.ai_inputs;
    p.ai_mail = model == 8 || model == 10;
    p.ai_range = model == 10;
    p.do_count = model == 10 ? MAIL_DO_COUNT : 0;
    return p;
}

int di_read_enable(int unit, MailJob& j) { return NQKivraGetDiMailEnable(unit, &j.enable); }
int di_read_logic(int unit, MailJob& j) { return NQKivraGetDiMailLogic(unit, &j.logic); }

int di_read_memory(int unit, MailJob& j)
{
    uint8_t request[7];
    uint8_t reply[11] = {};
    uint8_t data[2] = {};
    BuildMemoryRead(kDiAddress, request);
    if (SendRecvRaw(unit, sizeof request, request, sizeof reply, reply) != 0) return -1;
    if (ParseMemoryReply(reply, sizeof reply, 2, data) != 0) return -1;
    j.logic = data[0] & 7;
    j.enable = data[1] & 7;
    return 0;
}

// Record 6 of models 2 and 4 holds the rows themselves.
int di_read_record6(int unit, MailJob& j)
{
    const uint8_t* r6 = xportset[unit].setup6;
    j.enable = j.logic = 0;
    const int b28 = get_byte(r6, rec::di_enable_a);
    if (xportset[unit].model == 4) {
        if ((b28 & 3) != 0) j.enable = j.logic = 1;
        return 0;
    }
    if (b28 & 1) j.enable |= 1, j.logic |= get_byte(r6, rec::di_logic_a) & 1;
    if (get_byte(r6, rec::di_enable_b) & 2)
        j.enable |= 2, j.logic |= get_byte(r6, rec::di_logic_b) & 2;
    return 0;
}

int di_take_modes(int, MailJob& j)
{
    DiMail& d = j.v.di;
    d = DiMail{};
    for (int i = 0; i < j.has.di_rows && i < MAIL_DI_ROWS; i++) {
        const int bit = 1 << i;
        d.di_mode[i] = (j.enable & bit) == 0  ? DI_MAIL_OFF
                       : (j.logic & bit) != 0 ? DI_MAIL_ON_ON
                                              : DI_MAIL_ON_OFF;
        // A two-choice row has no "mail on OFF"; such a row reads as on.
        if (d.di_mode[i] >= j.has.di_cols) d.di_mode[i] = DI_MAIL_ON_ON;
    }
    return 0;
}

int di_make_masks(int, MailJob& j)
{
    const int rows_mask = (1 << j.has.di_rows) - 1;
    j.enable = j.logic = 0;
    for (int i = 0; i < MAIL_DI_ROWS; i++) {
        if (j.v.di.di_mode[i] != DI_MAIL_OFF) j.enable |= 1 << i;
        if (j.v.di.di_mode[i] == DI_MAIL_ON_ON) j.logic |= 1 << i;
    }
    j.enable &= rows_mask;
    j.logic &= rows_mask;
    // Bits 5..7 of the memory are set whatever the rows.
    if (j.has.di_way == DiWay::Memory) {
        j.enable |= 0xE0;
        j.logic |= 0xE0;
    }
    return 0;
}

int di_write_memory(int unit, MailJob& j)
{
    uint8_t data[2] = {static_cast<uint8_t>(j.logic), static_cast<uint8_t>(j.enable)};
    uint8_t request[11];
    uint8_t reply[5] = {};
    BuildMemoryWrite(kDiAddress, data, 2, request);
    return SendRecvRaw(unit, sizeof request, request, sizeof reply, reply);
}

int di_write_enable(int unit, MailJob& j) { return NQKivraSetDiMailEnable(unit, j.enable); }
int di_write_logic(int unit, MailJob& j) { return NQKivraSetDiMailLogic(unit, j.logic); }

void put_di_record_bits(const DiMail& di, int model, int modtype, uint8_t* r6, uint8_t* r7)
{
    if (is_wifi(modtype)) return;
    const MailPresence has = mail_presence(model, modtype);
    const bool gc = is_gc(modtype);
    bool any = false;  // some row sends mail
    for (int i = 0; i < has.di_rows && i < MAIL_DI_ROWS; i++) any = any || di.di_mode[i] != 0;
    if (model == 0 || model == 5 || model == 6 || model == 9 || model == 11) {
        put_byte(r6, rec::di_enable_a, (get_byte(r6, rec::di_enable_a) & ~7) | (any ? 1 : 0));
        if (any) put_byte(r6, rec::di_logic_a, get_byte(r6, rec::di_logic_a) | 1);
        if (gc) put_byte(r7, rec::trigger_a, any ? 0x82 : 0x80);
    } else if (model == 2) {
        int b28 = get_byte(r6, rec::di_enable_a) & ~7, b29 = 0;
        int b62 = get_byte(r6, rec::di_enable_b) & ~7, b63 = 0;
        if (di.di_mode[0] != 0) b28 |= 1, b29 = di.di_mode[0] == 1 ? 1 : 0;
        if (di.di_mode[1] != 0) b62 |= 2, b63 = di.di_mode[1] == 1 ? 2 : 0;
        put_byte(r6, rec::di_enable_a, b28);
        put_byte(r6, rec::di_logic_a, b29);
        put_byte(r6, rec::di_enable_b, b62);
        put_byte(r6, rec::di_logic_b, b63);
    } else if (model == 4) {
        put_byte(r6, rec::di_enable_a, di.di_mode[0] != 0 ? 3 : 0);
        put_byte(r6, rec::di_logic_a, 0);
    } else {
        return;
    }
    if (gc && (model == 2 || model == 4)) {
        put_byte(r7, rec::trigger_a, 0x82);
        put_byte(r7, rec::trigger_b, 0x82);
    }
}
