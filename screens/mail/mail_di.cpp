// The digital-input rows of the mail alert screen: their labels and cells,
// the chosen cell of each row marked, and the rows' callbacks. Which rows a
// unit has and how they are read and written is settings/.
#include "screens/mail/KIVRAMailSet.h"
#include "screens/mail/mail_screen.h"

#include "base/DebugLog.h"
#include "device/KIVRAXPort.h"
#include "ui/colour_pairs.h"

#include <cstdio>

namespace {

int cur_id_di = 0;  // the row being edited (OnChangeSelDI has only the cell)

WINDOW* cell(int row, int value)
{
    if (row < 0 || row >= MAIL_DI_ROWS || value < 0 || value > 2) return nullptr;
    return win_maildi[4 * row + 1 + value];
}

void mark_row(const MailScreen& s, int row)
{
    if (row < 0 || row >= s.has.di_rows) return;
    set_pair(cell(row, mailset.di.di_mode[row]), PAIR_MARKED);
    doupdate();
}

void draw_rows(const MailScreen& s)
{
    const int rows = s.has.di_rows, cols = s.has.di_cols;
    for (int i = 0; i < rows; i++) {
        char label[16];
        if (rows == 1)
            std::snprintf(label, sizeof label, "DI  :");
        else
            std::snprintf(label, sizeof label,
                          "DI%d :", i + 1 + (s.model == 2 && !is_wifi(s.modtype) ? 5 : 0));
        mvwaddstr(win_mailset, 11 + i, 20, label);
        show_text(cell(i, 0), "無効");
        show_text(cell(i, 1), cols == 2 ? "有効" : "有効:ON");
        if (cols == 3) show_text(cell(i, 2), "有効:OFF");
    }
    wnoutrefresh(win_mailset);
    doupdate();
}

}  // namespace

int InitDIMenu(MailScreen& s)
{
    PrnDebug("Init DI Menu\n");
    if (s.has.di_cols == 0) return 0;
    draw_rows(s);
    const StepResult r = read_mail_alert(s.unit, mailset, MAIL_DI);
    if (!r.ok()) {
        show_failure(r, win_mailset);
        DeleteMailMenu(s);
        return -1;
    }
    for (int i = 0; i < s.has.di_rows; i++) mark_row(s, i);
    doupdate();
    return 0;
}

int di_row_items(const MailScreen& s, int) { return s.has.di_cols; }

int di_row_start(MailScreen& s, int mode)
{
    cur_id_di = mode - MAILMODE_DI_FIRST;
    if (cur_id_di < 0 || cur_id_di >= MAIL_DI_ROWS) return 1;
    return choice_start(mailset.di.di_mode[cur_id_di], s.has.di_cols);
}

// The row's menu has one cell per choice, so item - 1 is a mode the row has.
int OnChangeSelDI(int item)
{
    if (cur_id_di >= 0 && cur_id_di < MAIL_DI_ROWS && item >= 1 && item <= 3)
        mailset.di.di_mode[cur_id_di] = item - 1;
    return 0;
}

void di_row_leave(MailScreen& s, int mode) { mark_row(s, mode - MAILMODE_DI_FIRST); }

// Enter leaves the row like Down.
Outcome di_row_enter(MailScreen&, int, int) { return Outcome::NextRow; }
