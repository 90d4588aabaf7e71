// Output for people: columns of text as wide as their widest cell.
#include "cli/kivraset.h"

#include <cstring>

void table_measure(TextTable& t, const char* const* cells)
{
    for (int c = 0; c < t.columns && c < TABLE_COLUMNS_MAX; c++) {
        const int w = static_cast<int>(std::strlen(cells[c]));
        if (w > t.width[c]) t.width[c] = w;
    }
    t.rows++;
}

void table_print(const TextTable& t, const char* const* cells, FILE* f)
{
    for (int c = 0; c < t.columns && c < TABLE_COLUMNS_MAX; c++) {
        if (c + 1 < t.columns)
            std::fprintf(f, "%-*s  ", t.width[c], cells[c]);
        else
            std::fprintf(f, "%s\n", cells[c]);
    }
}
