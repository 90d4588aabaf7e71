// The top menu's two items that edit a form: the search port and adding a
// unit by its address.
#include "device/KIVRAXPort.h"
#include "screens/KIVRAMainSet.h"
#include "shell/KIVRASet.h"
#include "ui/NQ_Forms.h"
#include "ui/NQ_Menu.h"
#include "ui/colour_pairs.h"
#include "ui/form_ids.h"

#include <cstdlib>

namespace {

// Shows catalogue form n, lets the operator edit it and takes it away again.
int edit_form(unsigned n, char* text, int size)
{
    show_form(n);
    int r = get_input1(&myforms[n], text, size);
    hide_form(n);
    return r;
}

}  // namespace

int top_menu_port()
{
    char text[FORM_TEXT_MAX] = "";
    int r = edit_form(FORM_SEARCH_PORT, text, sizeof text);
    if (r == MENU_QUIT) return -1;
    // The form admits only 0..65535; a cancelled edit means no port.
    long value = r == 1 ? std::strtol(text, nullptr, 10) : 0;
    if (value < 0 || value > 65535) value = 0;

    werase(menu_search[2]);
    if (value != 0) {
        search_port = static_cast<int>(value);
        mvwprintw(menu_search[2], 0, 0, "ポート:%d", search_port);
    } else {
        search_port = 0;
        mvwaddstr(menu_search[2], 0, 0, "ポート:未指定");
    }
    wrefresh(menu_search[2]);
    return 0;
}

int top_menu_add()
{
    char text[FORM_TEXT_MAX] = "";
    int r = edit_form(FORM_ADD_IP, text, sizeof text);
    if (r == MENU_QUIT) return -1;
    if (r != 1 || OnAddDevice(text, search_port) == 0) return 0;
    print_xports(0);
    wbkgd(menu_search[3], COLOR_PAIR(PAIR_ITEM));
    wrefresh(menu_search[3]);
    return 1;
}
