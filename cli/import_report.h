// The report of an import: per unit its groups' states with the fields that
// change (old and new) and those the unit did not take, as text for people
// or one JSON object; the failures on standard error.
#pragma once

#include "cli/import_engine.h"
#include "cli/plant_search.h"

struct ImportRun {
    const char* file_path;
    const UnitSettings* file;
    bool dry_run;
    const NamedUnit* named;   // as named, in order
    const ImportUnit* units;  // units[k] belongs to named[k] when named[k].index >= 0
    int count;
};
// Prints the report; CLI_OK when every unit took the file (or, with
// --dry-run, could be planned), else CLI_UNIT_FAILED.
int print_import_report(const ImportRun& run, bool json, const CliIo& io);
