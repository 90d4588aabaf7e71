// The host interfaces a subcommand searches: those named by -i, each once,
// or every interface the search can use.
#include "cli/units.h"

#include <net/if.h>

#include <algorithm>
#include <cstring>

int chosen_interfaces(const char* cmd, const ParsedArgs& args, int spec, SearchInterface* ifs,
                      int* count, FILE* err)
{
    SearchInterface all[SEARCH_IF_MAX];
    const int n = ListSearchInterfaces(all, SEARCH_IF_MAX);
    const int named = option_count(args, spec);
    if (named == 0) {
        *count = n > 0 ? n : 0;
        std::copy(all, all + *count, ifs);
        return CLI_OK;
    }
    *count = 0;
    for (int k = 0; k < named; k++) {
        const char* name = option_value(args, spec, k);
        const SearchInterface* found = nullptr;
        for (int j = 0; j < n; j++)
            if (std::strcmp(all[j].name, name) == 0) found = &all[j];
        if (found == nullptr) {
            if (if_nametoindex(name) == 0)
                std::fprintf(err, "kivraset %s: -i %s: no such interface\n", cmd, name);
            else
                std::fprintf(
                    err,
                    "kivraset %s: -i %s: the search cannot use this interface (it must "
                    "be up, broadcast and have an IPv4 address; loopback is never searched)\n",
                    cmd, name);
            return CLI_USAGE;
        }
        bool listed = false;
        for (int j = 0; j < *count; j++) listed = listed || ifs[j].index == found->index;
        if (!listed) ifs[(*count)++] = *found;
    }
    return CLI_OK;
}

void interface_names(const SearchInterface* ifs, int count, char* out, size_t size)
{
    if (size == 0) return;
    if (count == 0) {
        std::snprintf(out, size, "by the default route");
        return;
    }
    size_t used = 0;
    out[0] = '\0';
    for (int k = 0; k < count && used < size; k++)
        used += static_cast<size_t>(
            std::snprintf(out + used, size - used, "%s%s", k ? ", " : "", ifs[k].name));
}
