// A search of many units asks them all at once, each worker for its own unit.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "tests/screens/operator.h"

using namespace op;

namespace {

constexpr int UNITS = 64;
constexpr int HOST_NET_UNITS = 245;   // 192.0.2.10 .. 192.0.2.254

std::string unit_name(int k) { return std::string("u").append(std::to_string(k)); }

// count units: the first ones in the host's network (192.0.2.10 on), the
// rest outside it (198.51.100.10 on).
std::string many_units(int count)
{
    std::string p = R"({"units": [)";
    for (int k = 0; k < count; k++) {
        char ip[32];
        if (k < HOST_NET_UNITS) std::snprintf(ip, sizeof ip, "192.0.2.%d", 10 + k);
        else std::snprintf(ip, sizeof ip, "198.51.100.%d", 10 + k - HOST_NET_UNITS);
        char unit[160];
        std::snprintf(unit, sizeof unit,
                      R"(%s{"name": "u%d", "ip": "%s", "mac": "00:80:a3:00:%02x:%02x", "model": %d})",
                      k ? "," : "", k, ip, 1 + (k >> 8), k & 0xFF, k % 7);
        p += unit;
    }
    return p + "]}";
}

const char* const wired_names[7] = {"ZR-201", "ZR-202", "ZR-203", "ZR-204", "ZR-205", "ZR-206", "ZR-207"};

TEST(ListThreads, SixtyFourUnitsAreAskedTheirModelsAtOnceEachUnderItsOwnLine)
{
    Session s(many_units(UNITS));
    ASSERT_TRUE(s.searched()) << s.lab.sim_log() << s.t.dump();

    for (int k = 0; k < UNITS; k++) EXPECT_EQ(count_received(s.lab, unit_name(k), UU), 1) << k;

    // Walk the whole list: row min(item, 8) shows item k after k Downs.
    std::set<int> seen;
    for (int item = 0; item < UNITS; item++) {
        if (item > 0) {
            s.t.down();
        }
        const int row = LIST_FIRST_ROW + (item < LIST_ROWS ? item : LIST_ROWS - 1);
        std::string number_text = " ";
        number_text += std::to_string(item) + " ";
        ASSERT_TRUE(s.t.wait_for([&] { return s.t.text(row, 1, 78).rfind(number_text, 0) == 0; }))
            << s.t.dump();
        const std::string line = s.t.text(row, 1, 78);
        int number = -1, a = 0, b = 0, c = 0, d = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), " %d %*s %d.%d.%d.%d", &number, &a, &b, &c, &d), 5) << line;
        EXPECT_EQ(number, item) << line;
        const int k = d - 10;
        ASSERT_TRUE(k >= 0 && k < UNITS) << line;
        seen.insert(k);
        char want[96];
        std::snprintf(want, sizeof want, " %d 00-80-A3-00-01-%02x 192.0.2.%-7d %s", item, k, 10 + k,
                      wired_names[k % 7]);
        EXPECT_TRUE(cells_are(s.t, row, 1, want, 78));
    }
    EXPECT_EQ(seen.size(), static_cast<size_t>(UNITS));
}

// A plant as big as the device table: every unit is listed, each of the
// host's network asked its model by its own worker, the others not at all.
TEST(ListThreads, AFullTableOf256UnitsIsListedAndTheHostsNetworkAskedOnceEach)
{
    constexpr int FULL = 256;
    Session s(many_units(FULL));
    ASSERT_TRUE(s.searched()) << s.lab.sim_log() << s.t.dump();

    for (int k = 0; k < FULL; k++)
        EXPECT_EQ(count_received(s.lab, unit_name(k), UU), k < HOST_NET_UNITS ? 1 : 0) << k;
    // The last item of the list, reached with Downs, is the 256th unit.
    for (int item = 1; item < FULL; item++) s.t.down();
    const int last_row = LIST_FIRST_ROW + LIST_ROWS - 1;
    ASSERT_TRUE(s.t.wait_for([&] { return s.t.text(last_row, 1, 78).rfind(" 255 ", 0) == 0; }, 60000))
        << s.t.dump();
}

}  // namespace
