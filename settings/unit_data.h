// What a group's read needs before it takes values from a table entry.
// EnsureUnitData is kept with the search (screens/list/search.cpp) until
// the search's curses-free core moves below settings/; it draws nothing.
#pragma once

// Reads what was not read yet of unit i (records 0 and 5 and the further
// records of an XPort unit, the parameters of a WiFi module): 0 when
// everything is read, -1 when a read failed.
int EnsureUnitData(int i);
