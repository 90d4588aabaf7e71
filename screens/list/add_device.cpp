// Adding a unit that the broadcast search does not reach, by its address:
// it gets the same reads and the same model query as a unit found by a search.
#include "screens/KIVRAMainSet.h"

#include "device/KIVRAXPort.h"
#include "screens/list/list_parts.h"
#include "base/DebugLog.h"
#include "ui/fixed_windows.h"
#include "ui/NQ_Menu.h"

namespace {


// The new unit is the last entry, so dropping it moves nothing.
int refuse(int k, const char* log)
{
    if (k >= 0 && k == xportcount - 1) xportcount--;
    if (log != nullptr) PrnDebug(log);
    MyMsgBox("追加できません。", "", MSG_ROW_UPPER, basewin);
    return 0;
}

}  // namespace

int OnAddDevice(const char* addr, int port)
{
    if (addr == nullptr || addr[0] == '\0') return 0;
    PrnDebug("Add a device by IP\n");
    const int n = XPortAdd(addr);
    if (n < 1 || n > XPORT_MAX || n != xportcount) return refuse(-1, nullptr);
    const int k = n - 1;
    DeviceEntry& e = xportset[k];

    if (is_wifi_unit(e)) {
        e.modtype = MODTYPE_WIFI;
        if (!read_wifi_port(k)) return refuse(k, "Failed to Get Port (ESP)\n");
    } else {
        e.modtype = MODTYPE_XPORT;
        if (!read_first_records(k)) return refuse(k, nullptr);
        read_extra_firmware(k);
    }

    // Unlike the search, a unit outside the host's networks is read too;
    // only its model query depends on the network.
    mark_same_network(k);
    if (is_wifi(e)) {
        if (!read_wifi_port(k)) return refuse(k, "Failed to Get Port (ESP)\n");
    } else if (GetXPortData(k) == 0) {
        return refuse(k, nullptr);
    }

    PrnDebug("Get model info\n");
    if (e.samenet == 0 || GetCmdPort(k) != port) return 1;
    {
        ModelWorkers worker;
        worker.start(k);
    }
    // Records that could not be read after the model answered: the unit is
    // not kept, as the search would not keep it.
    if (e.model == -999) return refuse(k, nullptr);
    return 1;
}
