// What set-address did to each unit, and its report: a table for people or
// one JSON object, the reasons on standard error.
#pragma once

#include <cstdio>

#include "cli/address_plan.h"
#include "cli/kivraset.h"
#include "device/KIVRAXPort.h"
#include "settings/ip_settings.h"
#include "settings/settings_steps.h"

enum class AddressResult {
    Pending,  // to be sent
    Set,      // the unit took the settings and restarts with them
    Refused,  // nothing was sent to it
    Failed,   // an exchange failed
};

// One unit of the command.
struct AddressJob {
    int unit = -1;        // its entry in xportset
    bool inside = false;  // in one of the host's networks (mask and gateway known)
    IpSettings before;    // as read
    IpSettings values;    // as sent
    AddressResult result = AddressResult::Pending;
    char reason[160] = "";  // why it was refused or failed
};

// A unit named or heard that nothing was sent to, with why.
struct UnusedUnit {
    char name[40];     // as named, or its MAC address
    char address[16];  // "" when not known
    char reason[160];
};

struct AddressReport {
    AddressJob jobs[XPORT_MAX];
    int count = 0;
    UnusedUnit unused[2 * XPORT_MAX];
    int unused_count = 0;
    SkippedAddress skipped[SKIPPED_MAX];
    int skipped_count = 0;
};

// The job's result after apply_ip_settings returned r.
void address_outcome(AddressJob& j, const StepResult& r);
void note_unused(AddressReport& report, const char* name, const char* address, const char* reason);
// The units the last search dropped or does not list.
void note_left_out(AddressReport& report);
// Prints the report; says each refusal and failure on standard error. CLI_OK
// when every unit was set, else CLI_UNIT_FAILED.
int print_address_report(const AddressReport& report, bool json, const CliIo& io, const char* cmd);
