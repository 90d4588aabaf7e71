// Where Up and Down lead between the sections of the input extension
// screen, for each kind of unit and the controller settings its model has.
#include <gtest/gtest.h>

#include "screens/ext/ext_screen.h"
#include "screens/screen_driver.h"

namespace {

TEST(ExtSections, UpAndDownFollowTheSectionsTheUnitHas)
{
    enum { P = 0, G = 1 };  // plain XPort, GC firmware
    struct Case {
        int modtype, model, one_to_n, from;
        Move dir;
        int to;
    };
    const Move U = MOVE_UP, D = MOVE_DOWN;
    const Case cases[] = {
        {P, 0, 2, EXSEC_CONN1, D, EXSEC_DISC},  {P, 0, 2, EXSEC_CONN1, U, EXSEC_SEND},
        {P, 0, 2, EXSEC_DISC, U, EXSEC_CONN1},  {P, 0, 2, EXSEC_SEND, U, EXSEC_CHAT},
        {P, 0, 2, EXSEC_SEND, D, EXSEC_CONN1},  {P, 9, 2, EXSEC_CONN1, D, EXSEC_NOTICE},
        {P, 9, 2, EXSEC_CHAT, U, EXSEC_NOTICE}, {P, 10, 2, EXSEC_SEND, U, EXSEC_NOTICE},
        {P, 3, 2, EXSEC_CONN1, D, EXSEC_SEND},  {P, 3, 2, EXSEC_SEND, U, EXSEC_CONN1},
        {G, 3, 2, EXSEC_CONN1, U, EXSEC_1TON},  {G, 3, 2, EXSEC_SEND, D, EXSEC_1TON},
        {G, 3, 2, EXSEC_1TON, U, EXSEC_SEND},   {G, 3, 2, EXSEC_1TON, D, EXSEC_CONN1},
        {G, 0, 2, EXSEC_CONN1, D, EXSEC_DISC},  {G, 0, 1, EXSEC_CONN1, D, EXSEC_CONN2},
        {G, 0, 1, EXSEC_CONN34, D, EXSEC_DISC}, {G, 0, 1, EXSEC_DISC, U, EXSEC_CONN34},
        {G, 0, 2, EXSEC_DISC, U, EXSEC_CONN1},  {G, 9, 1, EXSEC_NOTICE, U, EXSEC_CONN34},
        {G, 3, 1, EXSEC_SEND, U, EXSEC_CONN34}, {G, 3, 1, EXSEC_CONN34, U, EXSEC_CONN2},
    };
    for (const Case& c : cases) {
        xportset[0].modtype = c.modtype;
        xportset[0].model = c.model;
        extset.has_disc = ex_control(EXS_DISC, c.model) != nullptr;
        extset.has_notice = ex_control(EXS_NOTICE, c.model) != nullptr;
        extset.has_chat = ex_control(EXS_CHAT, c.model) != nullptr;
        sel_1toN = c.one_to_n;
        EXPECT_EQ(ex_section_after(0, c.from, c.dir), c.to)
            << "modtype " << c.modtype << " model " << c.model << " 1:N " << c.one_to_n << " from "
            << c.from << (c.dir == U ? " up" : " down");
    }
}

}  // namespace
