// What the other-settings screens share: the frame and its title, and the
// message box of these screens.
#pragma once

#include "screens/etc/KIVRAEtc.h"
#include "screens/screen_driver.h"
#include "ui/colour_pairs.h"

// The frame at screen row 2, column 1, 20 x 78, and its title: the first
// two rows of every layout of these screens.
#define ETC_FRAME                                                          \
    {&win_etcset[0], -1, 2, 1, 20, 78, PAIR_BASE, nullptr, true, nullptr}, \
        LAYOUT_LABEL(0, 1, "その他の設定", nullptr)

// A message box of these screens (row 15), the frame drawn again after the key.
void etc_message(const char* line1, const char* line2);
// A failed read or apply shown as etc_message shows a message.
void etc_failure(const StepResult& r);
