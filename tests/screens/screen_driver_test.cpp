// The screen driver's row machine and step runner, without a terminal.
#include "screens/screen_driver.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Rows 1..5 in table order; row 3 names its own targets; rows 2..4 may be absent.
int gone_mask = 0;
template <int Row>
bool here(const RowContext&)
{
    return (gone_mask & (1 << Row)) == 0;
}

const RowSpec kRows[] = {
    {1, nullptr, 1, 0, ROW_PREV, ROW_NEXT, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {2, nullptr, 1, 0, ROW_PREV, ROW_NEXT, here<2>, nullptr, nullptr, nullptr, nullptr, nullptr},
    {3, nullptr, 1, 0, 5, 1, here<3>, nullptr, nullptr, nullptr, nullptr, nullptr},
    {4, nullptr, 1, 0, ROW_PREV, ROW_NEXT, here<4>, nullptr, nullptr, nullptr, nullptr, nullptr},
    {5, nullptr, 1, 0, ROW_PREV, ROW_NEXT, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
};

TEST(ScreenDriver, MovesGoToTheNamedOrNeighbouringRowAndNeverToAnAbsentOne)
{
    struct Case {
        int gone;   // bit per absent row
        int from, dir, to;
    } cases[] = {
        {0, 1, MOVE_UP, 5},
        {0, 1, MOVE_DOWN, 2},
        {0, 5, MOVE_DOWN, 1},
        {0, 3, MOVE_UP, 5},
        {0, 3, MOVE_DOWN, 1},
        {1 << 2, 1, MOVE_DOWN, 3},
        {(1 << 2) | (1 << 3) | (1 << 4), 1, MOVE_DOWN, 5},
        {(1 << 2) | (1 << 4), 5, MOVE_UP, 3},
        {1 << 4, 3, MOVE_DOWN, 1},
        {0, 9, MOVE_DOWN, 0},
    };
    for (const Case& c : cases) {
        gone_mask = c.gone;
        int mode = c.from;
        RowContext ctx{0, &mode, nullptr, kRows, 5};
        EXPECT_EQ(row_target(ctx, c.from, c.dir), c.to)
            << "gone " << c.gone << " from " << c.from << " dir " << c.dir;
    }
    gone_mask = 0;
}

std::vector<int> made;
int exchange_ok(int, void*) { made.push_back(1); return 0; }
int exchange_fails(int, void*) { made.push_back(2); return -1; }
int exchange_late(int, void*) { made.push_back(3); return 0; }
bool never(int, const void*) { return false; }

TEST(ScreenDriver, StepsStopAtTheFirstFailureAndSkipThoseThatDoNotApply)
{
    const Step steps[] = {
        {exchange_ok, 0, nullptr, 0, nullptr, nullptr},
        {exchange_late, 0, nullptr, 0, nullptr, never},
        {exchange_fails, 1, nullptr, 0, nullptr, nullptr},
        {exchange_late, 0, nullptr, 0, nullptr, nullptr},
    };
    made.clear();
    EXPECT_EQ(run_steps(steps, 0, nullptr, nullptr), -1);
    EXPECT_EQ(made, (std::vector<int>{1, 2}));
    made.clear();
    EXPECT_EQ(run_steps(steps, 2, 0, nullptr, nullptr), 0);
    EXPECT_EQ(made, (std::vector<int>{1}));
}

TEST(ScreenDriver, CodesWithoutATextShowEmptyAndStartOnTheFirstChoice)
{
    const char* table[16] = {"None", "10sec", "", nullptr};
    EXPECT_STREQ(choice_text(table, 16, 1), "10sec");
    EXPECT_STREQ(choice_text(table, 16, 2), "");
    EXPECT_STREQ(choice_text(table, 16, 3), "");
    EXPECT_STREQ(choice_text(table, 16, 16), "");
    EXPECT_STREQ(choice_text(table, 16, -1), "");
    EXPECT_EQ(choice_start(1, 5), 2);
    EXPECT_EQ(choice_start(5, 5), 1);
    EXPECT_EQ(choice_start(-3, 5), 1);
}

}  // namespace
