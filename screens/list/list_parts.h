// Pieces shared by the device list, adding by address and the settings menu:
// pure helpers that the tests call directly, and the list's drawing. The
// steps the search and adding a unit run alike are in settings/unit_search.h.
#pragma once

#include <curses.h>

#include <cstdint>

#include "device/KIVRAXPort.h"
#include "device/record_fields.h"
#include "settings/unit_search.h"

// ---- pure helpers ----

// One line of the device list for unit i, line feed included.
// Writes at most size bytes including the terminator.
void format_list_line(int i, char* out, int size);

// The groups of the settings menu that depend on the model.
enum class Group { InputExtend, MailAlert, Etc };
// nullptr when the group is offered for this model and module kind, otherwise
// the first line of the refusal message.
const char* model_gate_refusal(Group g, int model, int modtype);

// ---- drawing ----

// The settings menu of one unit: element 0 the frame, 1..4 the items; all
// null while the menu is closed.
extern WINDOW* win_mainset[5];

// Erases device-list row 1 and writes a short text at its start.
void show_list_row1(const char* text);
// The search's progress: the eight list rows erased, "検索中..." in row 1.
void draw_search_progress();
