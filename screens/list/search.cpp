// The device list's search: the search proper (settings/unit_search.h) with
// "検索中..." drawn while it runs and its outcome in list row 1.
#include "screens/KIVRAMainSet.h"

#include <curses.h>

#include "screens/list/list_parts.h"

int OnSearchDevice(int port)
{
    // Keys typed while "検索中..." is shown are dropped when the search ends,
    // so the cursor starts on the list as the operator first sees it.
    struct DropTypedKeys {
        ~DropTypedKeys() { flushinp(); }
    } drop_typed_keys;
    xport_search_progress = draw_search_progress;
    const int r = SearchPlant(port, nullptr, 0);
    if (r == SEARCH_FAILED) {
        show_list_row1(" エラー");
        return 0;
    }
    // Nothing answered, or every unit was dropped: the search has ended, so
    // the progress text goes.
    if (r == SEARCH_NONE) {
        show_list_row1(" 検索失敗");
        return 0;
    }
    return 1;
}
