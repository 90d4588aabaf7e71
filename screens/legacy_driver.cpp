// LEGACY: the row machine and step runner of the screens not yet moved to
// settings/ and the typed driver (see legacy_driver.h).
#include "screens/legacy_driver.h"

#include "settings/settings_steps.h"
#include "ui/NQ_Menu.h"

ScreenWindows::ScreenWindows(const LegacyWindowSpec* layout, int count, int unit)
{
    count_ = count < kMaxWindows ? count : kMaxWindows;
    for (int k = 0; k < count_; k++) {
        const LegacyWindowSpec& s = layout[k];
        place(k, {s.slot, s.parent, s.row, s.col, s.rows, s.cols, s.pair, s.text, s.border},
              s.present == nullptr || s.present(unit));
    }
}

const LegacyRowSpec* find_row(const LegacyRowContext& ctx, int mode)
{
    for (int k = 0; k < ctx.count; k++)
        if (ctx.rows[k].mode == mode) return &ctx.rows[k];
    return nullptr;
}

bool row_present(const LegacyRowContext& ctx, int mode)
{
    const LegacyRowSpec* r = find_row(ctx, mode);
    if (r == nullptr) return false;
    return r->present == nullptr || r->present(ctx);
}

namespace {

int index_of(const LegacyRowContext& ctx, int mode)
{
    for (int k = 0; k < ctx.count; k++)
        if (ctx.rows[k].mode == mode) return k;
    return -1;
}

// The first present row from table index k on, stepping by step (wrapping).
int present_from(const LegacyRowContext& ctx, int k, int step)
{
    for (int n = 0; n < ctx.count; n++) {
        int at = ((k + step * n) % ctx.count + ctx.count) % ctx.count;
        if (row_present(ctx, ctx.rows[at].mode)) return ctx.rows[at].mode;
    }
    return 0;
}

}  // namespace

int row_target(const LegacyRowContext& ctx, int mode, Move dir)
{
    const int k = index_of(ctx, mode);
    if (k < 0 || ctx.count <= 0) return 0;
    const LegacyRowSpec& r = ctx.rows[k];
    const int named = dir == MOVE_UP ? r.up : r.down;
    const int step = dir == MOVE_UP ? -1 : 1;
    if (named == ROW_PREV) return present_from(ctx, k - 1, -1);
    if (named == ROW_NEXT) return present_from(ctx, k + 1, 1);
    const int t = index_of(ctx, named);
    if (t < 0) return 0;
    return present_from(ctx, t, step);
}

int run_row(LegacyRowContext& ctx)
{
    const LegacyRowSpec* r = find_row(ctx, *ctx.mode);
    if (r == nullptr || !row_present(ctx, r->mode) || r->wins == nullptr || r->wins[1] == nullptr)
        return -2;
    const int n = r->items_fn != nullptr ? r->items_fn(ctx) : r->items;
    if (n < 1) return -2;
    const int start = r->start != nullptr ? r->start(ctx) : 1;
    const MenuResult m = pick_in_row(r->wins, n, r->vertical != 0, start, r->onchange);
    switch (m.act) {
    case Act::Quit:
        return -1;
    case Act::Esc:
        return -2;
    case Act::Up:
    case Act::Down:
        if (r->leave != nullptr) r->leave(ctx);
        *ctx.mode = row_target(ctx, r->mode, m.act == Act::Up ? MOVE_UP : MOVE_DOWN);
        return 0;
    case Act::Chosen:
        break;
    }
    return r->enter != nullptr ? r->enter(ctx, m.item) : 0;
}

int run_rows(LegacyRowContext& ctx)
{
    for (;;) {
        const int r = run_row(ctx);
        if (r != 0) return r;
    }
}

int run_steps(const Step* steps, int count, int unit, void* state, WINDOW* restore)
{
    for (int k = 0; k < count; k++) {
        const Step& s = steps[k];
        if (s.applies != nullptr && !s.applies(unit, state)) continue;
        settings_pause(s.pause_ms);
        if (s.exchange == nullptr || s.exchange(unit, state) == 0) continue;
        show_failure(settings_failure(k, s.message, nullptr, s.row, s.log), restore);
        return -1;
    }
    return 0;
}
