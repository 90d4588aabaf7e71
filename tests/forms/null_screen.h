// A curses screen on /dev/null in a UTF-8 locale, so forms can be built,
// posted and typed into inside a test process. Starts with no forms.
#pragma once

#include <gtest/gtest.h>

#include "ui/NQ_Forms.h"

#include <clocale>
#include <cstdio>

namespace forms_test {

class NullScreen : public ::testing::Test {
  protected:
    void SetUp() override
    {
        if (!std::setlocale(LC_CTYPE, "ja_JP.UTF-8") && !std::setlocale(LC_CTYPE, "ja_JP.utf8")) {
            std::setlocale(LC_CTYPE, "C.UTF-8");
        }
        out_ = std::fopen("/dev/null", "w");
        in_ = std::fopen("/dev/null", "r");
        ASSERT_TRUE(out_ && in_);
        screen_ = newterm("xterm-256color", out_, in_);
        ASSERT_NE(screen_, nullptr);
        resizeterm(24, 80);
        start_color();
        nforms = 0;
    }
    void TearDown() override
    {
        del_myforms();
        nforms = 0;
        if (screen_) {
            endwin();
            delscreen(screen_);
        }
        if (out_) std::fclose(out_);
        if (in_) std::fclose(in_);
    }

    FILE* out_ = nullptr;
    FILE* in_ = nullptr;
    SCREEN* screen_ = nullptr;
};

}  // namespace forms_test
