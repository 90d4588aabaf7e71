// The digital-input rows of the mail alert screen: which inputs a unit has,
// reading whether each sends mail (controller parameters, the memory at
// 0x0432, or bits of record 6), the rows' cells, and writing them back.
#include "screens/mail/KIVRAMailSet.h"
#include "screens/mail/mail_screen.h"

#include "device/record_fields.h"
#include "screens/legacy_driver.h"
#include "base/DebugLog.h"
#include "ui/NQ_Menu.h"
#include "ui/colour_pairs.h"

#include <cstdio>

namespace {

constexpr int kDiAddress = 0x0432;  // logic mask, then enable mask

int cur_id_di = 0;  // the row being edited

enum class DiWay { None, Accessors, Memory, Record6 };

DiWay di_way(int model, int modtype)
{
    if (is_wifi(modtype)) return DiWay::Accessors;
    switch (model) {
    case 0: case 5: case 6: return DiWay::Accessors;
    case 9: case 11: return DiWay::Memory;
    case 2: case 4: return DiWay::Record6;
    default: return DiWay::None;
    }
}

// The enable and logic masks as read, or as they are written.
struct DiMasks {
    int enable;
    int logic;
};
DiMasks masks;

int read_enable(int unit, void*) { return NQKivraGetDiMailEnable(unit, &masks.enable); }
int read_logic(int unit, void*) { return NQKivraGetDiMailLogic(unit, &masks.logic); }
int read_memory(int unit, void*)
{
    uint8_t request[7];
    uint8_t reply[11] = {};
    uint8_t data[2] = {};
    BuildMemoryRead(kDiAddress, request);
    if (SendRecvRaw(unit, sizeof request, request, sizeof reply, reply) != 0) return -1;
    if (ParseMemoryReply(reply, sizeof reply, 2, data) != 0) return -1;
    masks.logic = data[0] & 7;
    masks.enable = data[1] & 7;
    return 0;
}

const Step kReadAccessors[] = {
    {read_enable, 20, "通信エラー", MAIL_APPLY_ROW, "getdimailenable failed\n", nullptr},
    {read_logic, 30, "通信エラー", MAIL_APPLY_ROW, "getdimailelogic failed\n", nullptr},
};
const Step kReadMemory[] = {
    {read_memory, 0, "通信エラー", MAIL_APPLY_ROW, "sendrecv failed\n", nullptr},
};

// Record 6 of models 2 and 4 holds the rows themselves.
void read_record6(const uint8_t* r6, int model)
{
    masks = {0, 0};
    const int b28 = get_byte(r6, rec::di_enable_a);
    if (model == 4) {
        if ((b28 & 3) != 0) masks = {1, 1};
        return;
    }
    if (b28 & 1) masks.enable |= 1, masks.logic |= get_byte(r6, rec::di_logic_a) & 1;
    if (get_byte(r6, rec::di_enable_b) & 2)
        masks.enable |= 2, masks.logic |= get_byte(r6, rec::di_logic_b) & 2;
}

WINDOW* cell(int row, int value)
{
    if (row < 0 || row >= MAIL_DI_ROWS || value < 0 || value > 2) return nullptr;
    return win_maildi[4 * row + 1 + value];
}

void mark_row(int row)
{
    if (row < 0 || row >= mailset.di_rows) return;
    set_pair(cell(row, mailset.di_mode[row]), PAIR_MARKED);
    doupdate();
}

int write_memory(int unit, void*)
{
    uint8_t data[2] = {static_cast<uint8_t>(masks.logic), static_cast<uint8_t>(masks.enable)};
    uint8_t request[11];
    uint8_t reply[5] = {};
    BuildMemoryWrite(kDiAddress, data, 2, request);
    return SendRecvRaw(unit, sizeof request, request, sizeof reply, reply);
}
int write_enable(int unit, void*) { return NQKivraSetDiMailEnable(unit, masks.enable); }
int write_logic(int unit, void*) { return NQKivraSetDiMailLogic(unit, masks.logic); }

bool by_memory(int unit, const void*) { return di_way(unit_model(unit), unit_modtype(unit)) == DiWay::Memory; }
bool by_accessors(int unit, const void*)
{
    return di_way(unit_model(unit), unit_modtype(unit)) == DiWay::Accessors;
}

const Step kWrite[] = {
    {write_memory, 10, "通信エラー", MAIL_APPLY_ROW, "sendrecv failed\n", by_memory},
    {nullptr, 20, nullptr, 0, nullptr, by_memory},
    {write_enable, 0, "通信エラー", MAIL_APPLY_ROW, "dimail setting send error\n", by_accessors},
    {write_logic, 20, "通信エラー", MAIL_APPLY_ROW, "maillogic setting send error\n", by_accessors},
    {nullptr, 20, nullptr, 0, nullptr, nullptr},
};

}  // namespace

void mail_di_layout(int model, int modtype, int* rows, int* cols)
{
    int r = 0, c = 3;
    switch (model) {
    case 0: case 6: r = 3; break;
    case 1: r = is_wifi(modtype) ? 2 : 0; break;
    case 2: r = is_wifi(modtype) ? 7 : 2; break;
    case 4: r = is_wifi(modtype) ? 2 : 1, c = is_wifi(modtype) ? 3 : 2; break;
    case 5: r = 5; break;
    case 9: r = is_wifi(modtype) ? 0 : 3; break;
    case 11: r = is_wifi(modtype) ? 0 : 2; break;
    default: r = 0; break;
    }
    // A WiFi module always has the section, even without rows.
    if (r == 0 && !is_wifi(modtype)) c = 0;
    *rows = r;
    *cols = c;
}

int InitDIMenu(int unit)
{
    PrnDebug("Init DI Menu\n");
    const int model = unit_model(unit);
    const int modtype = unit_modtype(unit);
    mail_di_layout(model, modtype, &mailset.di_rows, &mailset.di_cols);
    if (mailset.di_cols == 0) return 0;
    for (int i = 0; i < mailset.di_rows; i++) {
        char label[16];
        if (mailset.di_rows == 1)
            std::snprintf(label, sizeof label, "DI  :");
        else
            std::snprintf(label, sizeof label, "DI%d :", i + 1 + (model == 2 && !is_wifi(modtype) ? 5 : 0));
        mvwaddstr(win_mailset, 11 + i, 20, label);
        show_text(cell(i, 0), "無効");
        show_text(cell(i, 1), mailset.di_cols == 2 ? "有効" : "有効:ON");
        if (mailset.di_cols == 3) show_text(cell(i, 2), "有効:OFF");
    }
    wnoutrefresh(win_mailset);
    doupdate();

    masks = {0, 0};
    int r = 0;
    switch (di_way(model, modtype)) {
    case DiWay::Accessors: r = run_steps(kReadAccessors, unit, nullptr, win_mailset); break;
    case DiWay::Memory: r = run_steps(kReadMemory, unit, nullptr, win_mailset); break;
    case DiWay::Record6: read_record6(mail_images.r6, model); break;
    case DiWay::None: break;
    }
    if (r != 0) {
        DeleteMailMenu();
        return -1;
    }
    for (int i = 0; i < MAIL_DI_ROWS; i++) mailset.di_mode[i] = 0;
    for (int i = 0; i < mailset.di_rows; i++) {
        const int bit = 1 << i;
        mailset.di_mode[i] = (masks.enable & bit) == 0 ? 0 : (masks.logic & bit) != 0 ? 1 : 2;
        // A two-cell row has no "mail on OFF"; such a row reads as on.
        if (mailset.di_mode[i] >= mailset.di_cols) mailset.di_mode[i] = 1;
        mark_row(i);
    }
    doupdate();
    return 0;
}

int di_row_items(const LegacyRowContext&) { return mailset.di_cols; }

int di_row_start(const LegacyRowContext& ctx)
{
    cur_id_di = *ctx.mode - MAILMODE_DI_FIRST;
    if (cur_id_di < 0 || cur_id_di >= MAIL_DI_ROWS) return 1;
    return choice_start(mailset.di_mode[cur_id_di], mailset.di_cols);
}

int OnChangeSelDI(int item)
{
    if (cur_id_di >= 0 && cur_id_di < MAIL_DI_ROWS && item >= 1 && item <= mailset.di_cols)
        mailset.di_mode[cur_id_di] = item - 1;
    return 0;
}

void di_row_leave(LegacyRowContext& ctx) { mark_row(*ctx.mode - MAILMODE_DI_FIRST); }

// Enter leaves the row like Down.
int di_row_enter(LegacyRowContext& ctx, int)
{
    mark_row(*ctx.mode - MAILMODE_DI_FIRST);
    *ctx.mode = row_target(ctx, *ctx.mode, MOVE_DOWN);
    return 0;
}

int write_di_settings(int unit)
{
    if (mailset.di_rows == 0) return 0;
    const int rows_mask = (1 << mailset.di_rows) - 1;
    masks = {0, 0};
    for (int i = 0; i < MAIL_DI_ROWS; i++) {
        if (mailset.di_mode[i] != 0) masks.enable |= 1 << i;
        if (mailset.di_mode[i] == 1) masks.logic |= 1 << i;
    }
    masks.enable &= rows_mask;
    masks.logic &= rows_mask;
    mailset.di_any = masks.enable != 0 ? 1 : 0;
    if (di_way(unit_model(unit), unit_modtype(unit)) == DiWay::Memory) {
        masks.enable |= 0xE0;
        masks.logic |= 0xE0;
    }
    return run_steps(kWrite, unit, nullptr, win_mailset);
}

void put_di_record_bits(const MailSet& m, int model, int modtype, uint8_t* r6, uint8_t* r7)
{
    if (is_wifi(modtype)) return;
    const bool gc = is_gc(modtype);
    if (model == 0 || model == 5 || model == 6 || model == 9 || model == 11) {
        put_byte(r6, rec::di_enable_a, (get_byte(r6, rec::di_enable_a) & ~7) | (m.di_any ? 1 : 0));
        if (m.di_any) put_byte(r6, rec::di_logic_a, get_byte(r6, rec::di_logic_a) | 1);
        if (gc) put_byte(r7, rec::trigger_a, m.di_any ? 0x82 : 0x80);
    } else if (model == 2) {
        int b28 = get_byte(r6, rec::di_enable_a) & ~7, b29 = 0;
        int b62 = get_byte(r6, rec::di_enable_b) & ~7, b63 = 0;
        if (m.di_mode[0] != 0) b28 |= 1, b29 = m.di_mode[0] == 1 ? 1 : 0;
        if (m.di_mode[1] != 0) b62 |= 2, b63 = m.di_mode[1] == 1 ? 2 : 0;
        put_byte(r6, rec::di_enable_a, b28);
        put_byte(r6, rec::di_logic_a, b29);
        put_byte(r6, rec::di_enable_b, b62);
        put_byte(r6, rec::di_logic_b, b63);
    } else if (model == 4) {
        put_byte(r6, rec::di_enable_a, m.di_mode[0] != 0 ? 3 : 0);
        put_byte(r6, rec::di_logic_a, 0);
    } else {
        return;
    }
    if (gc && (model == 2 || model == 4)) {
        put_byte(r7, rec::trigger_a, 0x82);
        put_byte(r7, rec::trigger_b, 0x82);
    }
}
