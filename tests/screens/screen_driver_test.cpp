// The screen driver's row machine and the step runner of settings/, without
// a terminal.
#include "screens/screen_driver.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Rows 1..5 in table order; row 3 names its own targets; rows 2..4 may be absent.
struct Screen {
    int gone;  // bit per absent row
};
template <int Row>
bool here(const Screen& s)
{
    return (s.gone & (1 << Row)) == 0;
}

const RowSpec<Screen> kRows[] = {
    {.mode = 1, .wins = nullptr},
    {.mode = 2, .wins = nullptr, .present = here<2>},
    {.mode = 3, .wins = nullptr, .up = 5, .down = 1, .present = here<3>},
    {.mode = 4, .wins = nullptr, .present = here<4>},
    {.mode = 5, .wins = nullptr},
};

TEST(ScreenDriver, MovesGoToTheNamedOrNeighbouringRowAndNeverToAnAbsentOne)
{
    struct Case {
        int gone;  // bit per absent row
        int from;
        Move dir;
        int to;
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
        const Screen s{c.gone};
        EXPECT_EQ(row_target(kRows, s, c.from, c.dir), c.to)
            << "gone " << c.gone << " from " << c.from << " dir " << c.dir;
    }
}

struct Made {
    std::vector<int> steps;
};
int exchange_ok(int, Made& m)
{
    m.steps.push_back(1);
    return 0;
}
int exchange_fails(int, Made& m)
{
    m.steps.push_back(2);
    return -1;
}
int exchange_late(int, Made& m)
{
    m.steps.push_back(3);
    return 0;
}
bool never(int, const Made&) { return false; }
std::vector<int> shown;
void show(int, const Made&, int what) { shown.push_back(what); }

TEST(ScreenDriver, StepsStopAtTheFirstFailureAndSkipThoseThatDoNotApply)
{
    const SettingsStep<Made> steps[] = {
        {.exchange = exchange_ok, .shows = 7},
        {.exchange = exchange_late, .applies = never, .shows = 8},
        {.exchange = exchange_fails,
         .pause_ms = 1,
         .message = "a",
         .detail = "b",
         .row = 15,
         .shows = 9},
        {.exchange = exchange_late},
    };
    Made made;
    const StepResult r = run_settings_steps(steps, 0, made, show);
    EXPECT_EQ(r.failed, 2);
    EXPECT_STREQ(r.message, "a");
    EXPECT_STREQ(r.detail, "b");
    EXPECT_EQ(r.row, 15);
    EXPECT_EQ(made.steps, (std::vector<int>{1, 2}));
    EXPECT_EQ(shown, (std::vector<int>{7})) << "drawn only after a step that went through";
    made.steps.clear();
    EXPECT_TRUE(run_settings_steps(steps, 2, 0, made).ok());
    EXPECT_EQ(made.steps, (std::vector<int>{1}));
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
