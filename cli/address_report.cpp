// set-address's results: what each step of the IP apply means when it
// stops, and the table or JSON of what each unit got.
#include "cli/address_report.h"

#include <arpa/inet.h>

#include <cstring>

#include "cli/json.h"
#include "cli/plant_search.h"
#include "device/address_text.h"
#include "settings/unit_search.h"

namespace {

// The IP apply's steps in its order, as the command line says them when one
// stops the apply: whether anything went out, and why.
struct StepText {
    AddressResult result;
    const char* text;
};
const StepText kApplySteps[IP_APPLY_STEPS] = {
    {AddressResult::Refused, "%s answers ping: another host may have it; nothing sent"},
    {AddressResult::Refused, "a WiFi module cannot take its address by DHCP; nothing sent"},
    {AddressResult::Refused,
     "a WiFi module outside the host's networks (it is set only from inside its own network); "
     "nothing sent"},
    {AddressResult::Failed, "sending the set-address broadcast failed"},
    {AddressResult::Refused, "the mask has a gap in its one bits; nothing sent"},
    {AddressResult::Failed, "sending the WiFi module its IP text: no answer"},
    {AddressResult::Failed, "writing setup record 0: no answer"},
};

const char* result_text(AddressResult r)
{
    switch (r) {
    case AddressResult::Set:
        return "set";
    case AddressResult::Refused:
        return "refused";
    case AddressResult::Failed:
        return "failed";
    case AddressResult::Pending:
        break;
    }
    return "not sent";
}

struct Cells {
    char mac[18], address[16], next[16], mask[16], gateway[16];
};

Cells cells(const AddressJob& j)
{
    Cells c{};
    format_mac(xportset[j.unit].mac, c.mac);
    std::snprintf(c.address, sizeof c.address, "%.15s", xportset[j.unit].ipstr);
    if (j.values.dhcp)
        std::strcpy(c.next, "dhcp");
    else if (j.values.address != 0)
        format_dotted(j.values.address, c.next);
    else
        std::strcpy(c.next, "-");
    std::strcpy(c.mask, "-");
    std::strcpy(c.gateway, "-");
    if (j.inside && !j.values.dhcp) {
        format_dotted(j.values.netmask, c.mask);
        format_dotted(j.values.gateway, c.gateway);
    }
    return c;
}

void print_table(const AddressReport& rep, FILE* out)
{
    static const char* const header[] = {"MAC",  "ADDRESS", "NEW ADDRESS",
                                         "MASK", "GATEWAY", "RESULT"};
    TextTable t;
    t.columns = 6;
    table_measure(t, header);
    for (int pass = 0; pass < 2; pass++) {
        if (pass == 1 && rep.count > 0) table_print(t, header, out);
        for (int k = 0; k < rep.count; k++) {
            const Cells c = cells(rep.jobs[k]);
            const char* const row[] = {c.mac,  c.address, c.next,
                                       c.mask, c.gateway, result_text(rep.jobs[k].result)};
            pass == 0 ? table_measure(t, row) : table_print(t, row, out);
        }
    }
    for (int k = 0; k < rep.skipped_count; k++) {
        char a[16];
        format_dotted(rep.skipped[k].address, a);
        std::fprintf(out, "skipped %s: %s\n", a, skip_reason_text(rep.skipped[k].why));
    }
}

void text_or_null(JsonWriter& w, const char* key, const char* text)
{
    w.key(key);
    if (text[0] != '\0' && std::strcmp(text, "-") != 0)
        w.string(text);
    else
        w.null();
}

void print_json(const AddressReport& rep, FILE* out)
{
    JsonWriter w(out);
    w.begin_object();
    w.key("units");
    w.begin_array();
    for (int k = 0; k < rep.count; k++) {
        const AddressJob& j = rep.jobs[k];
        const Cells c = cells(j);
        w.begin_object();
        text_or_null(w, "mac", c.mac);
        text_or_null(w, "address", c.address);
        text_or_null(w, "interface", xportset[j.unit].host_ifname);
        w.key("dhcp");
        w.boolean(j.values.dhcp);
        text_or_null(w, "new_address", j.values.dhcp ? "" : c.next);
        text_or_null(w, "mask", c.mask);
        text_or_null(w, "gateway", c.gateway);
        text_or_null(w, "result", result_text(j.result));
        text_or_null(w, "reason", j.reason);
        w.end_object();
    }
    w.end_array();
    w.key("skipped");
    w.begin_array();
    for (int k = 0; k < rep.skipped_count; k++) {
        char a[16];
        format_dotted(rep.skipped[k].address, a);
        w.begin_object();
        text_or_null(w, "address", a);
        text_or_null(w, "reason", skip_reason_text(rep.skipped[k].why));
        w.end_object();
    }
    w.end_array();
    w.key("not_sent");
    w.begin_array();
    for (int k = 0; k < rep.unused_count; k++) {
        const UnusedUnit& u = rep.unused[k];
        w.begin_object();
        text_or_null(w, "unit", u.name);
        text_or_null(w, "address", u.address);
        text_or_null(w, "reason", u.reason);
        w.end_object();
    }
    w.end_array();
    w.end_object();
    w.end_line();
}

}  // namespace

void address_outcome(AddressJob& j, const StepResult& r)
{
    if (r.ok()) {
        j.result = AddressResult::Set;
        return;
    }
    constexpr int kSteps = sizeof kApplySteps / sizeof kApplySteps[0];
    if (r.failed < 0 || r.failed >= kSteps) {
        j.result = AddressResult::Failed;
        std::snprintf(j.reason, sizeof j.reason, "the apply failed");
        return;
    }
    char address[16];
    format_dotted(j.values.address, address);
    j.result = kApplySteps[r.failed].result;
    std::snprintf(j.reason, sizeof j.reason, kApplySteps[r.failed].text, address);
}

void note_unused(AddressReport& report, const char* name, const char* address, const char* reason)
{
    if (report.unused_count >= 2 * XPORT_MAX) return;
    UnusedUnit& u = report.unused[report.unused_count++];
    std::snprintf(u.name, sizeof u.name, "%s", name);
    std::snprintf(u.address, sizeof u.address, "%s", address);
    std::snprintf(u.reason, sizeof u.reason, "%s", reason);
}

void note_left_out(AddressReport& report)
{
    const struct {
        const DroppedUnit* list;
        int count;
        bool far;
    } lists[] = {{search_dropped, search_dropped_count, false},
                 {search_unlisted, search_unlisted_count, true}};
    for (const auto& l : lists) {
        for (int k = 0; k < l.count; k++) {
            char mac[18], why[160];
            format_mac(l.list[k].mac, mac);
            std::snprintf(why, sizeof why, "%s%s", l.list[k].step, l.far ? "" : " failed");
            note_unused(report, mac, l.list[k].ipstr, why);
        }
    }
}

int print_address_report(const AddressReport& report, bool json, const CliIo& io, const char* cmd)
{
    int status = report.unused_count > 0 ? CLI_UNIT_FAILED : CLI_OK;
    for (int k = 0; k < report.count; k++) {
        const AddressJob& j = report.jobs[k];
        if (j.result == AddressResult::Set) continue;
        status = CLI_UNIT_FAILED;
        char label[48];
        unit_label(j.unit, label, sizeof label);
        std::fprintf(io.err, "kivraset %s: %s: %s\n", cmd, label, j.reason);
    }
    if (json)
        print_json(report, io.out);
    else
        print_table(report, io.out);
    return status;
}
