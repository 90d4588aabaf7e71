// Screen rows of the message boxes, without curses: the step tables of
// settings/ name the row their failure is shown at, and the screens show it.
#pragma once

// The settings menu and IP screens, the analog and input extension screens,
// the mail screen and adding a unit, and the boxes shown over a form's place.
constexpr int MSG_ROW_MENU = 18;
constexpr int MSG_ROW_SETTINGS = 15;
constexpr int MSG_ROW_UPPER = 10;
constexpr int MSG_ROW_FORM = 5;
