// The broadcast search: discovery, then the units that can be used keep their
// setup records and get their model asked, one worker per unit in parallel.
#include "screens/KIVRAMainSet.h"

#include <arpa/inet.h>

#include <cstdio>
#include <cstring>

#include "device/KIVRAXPort.h"
#include "device/record_fields.h"
#include "screens/list/list_parts.h"
#include "base/DebugLog.h"

namespace {

bool is_x6(const DeviceEntry& e) { return e.devtype[0] == 'X' && e.devtype[1] == '6'; }

// The records that GetXPortData reads, in order, with their failure texts.
struct RecordRead {
    int record;
    const char* failure;
};
const RecordRead further_records[4] = {
    {3, "Failed to Get SetupRecord 3\n"},
    {4, "Failed to Get SetupRecord 4\n"},
    {6, "Failed to Get SetupRecord 6\n"},
    {7, "Failed to Get SetupRecord 7\n"},
};

void dotted(in_addr_t a, char (&out)[INET_ADDRSTRLEN])
{
    inet_ntop(AF_INET, &a, out, sizeof out);
}

// First pass of the search for entry i. Returns false when the entry was removed.
bool prepare_found_unit(int i)
{
    DeviceEntry& e = xportset[i];
    mark_same_network(i);
    if (is_wifi_unit(e)) {
        e.modtype = MODTYPE_WIFI;
        if (e.samenet == 0 || !read_wifi_port(i)) {
            RemoveXPortEntry(i);
            return false;
        }
        return true;
    }
    // A wired unit outside the host's networks keeps only its discovery data.
    if (e.samenet == 0) return true;
    e.modtype = MODTYPE_XPORT;
    if (!read_first_records(i)) {
        RemoveXPortEntry(i);
        return false;
    }
    read_extra_firmware(i);
    return true;
}

}  // namespace

bool read_record(int i, int record, uint8_t* image, int length, const char* failure)
{
    DeviceEntry& e = xportset[i];
    e.records_read &= ~record_bit(record);
    if (GetSetupRecord(e.addr.sin_addr.s_addr, record, image, length) == 1) {
        e.records_read |= record_bit(record);
        return true;
    }
    PrnDebug(failure);
    return false;
}

bool read_first_records(int i)
{
    DeviceEntry& e = xportset[i];
    return read_record(i, 0, e.setup0, SETUP0_LEN, "Failed to Get SetupRecord 0\n") &&
           read_record(i, 5, e.setup5, SETUP_LEN, "Failed to Get SetupRecord 5\n");
}

bool read_wifi_port(int i)
{
    if (Get_ESP_Port(i) != 0) return false;
    SetCmdPort(i, xportset[i].esp_port & 0xFFFF);
    return true;
}

void mark_same_network(int i)
{
    DeviceEntry& e = xportset[i];
    e.samenet = 0;
    for (int j = 0; j < MyIpCnt && j < MYIP_MAX; j++) {
        if (IsSameNetwork(MyIp[j].ip, MyIp[j].mask, e.addr.sin_addr.s_addr)) {
            e.samenet = 1;
            PrnDebugf("Xport: %.16s : same network\n", e.ipstr);
        }
    }
}

void read_extra_firmware(int i)
{
    DeviceEntry& e = xportset[i];
    if (!is_x6(e)) return;
    uint8_t reply[EXTFIRM_REPLY_LEN] = {};
    if (UDP_SendRecv(e.addr.sin_addr.s_addr, extfirm_query, EXTFIRM_QUERY_LEN, reply, sizeof reply) != 0) {
        PrnDebug("Warning: Failed to Get ExtraFirm Info\n");
        return;
    }
    if (ParseExtraFirmware(reply, sizeof reply, e.extfirm, sizeof e.extfirm) == 1)
        e.modtype = MODTYPE_GC;
}

int GetXPortData(int i)
{
    if (i < 0 || i >= XPORT_MAX) return 0;
    DeviceEntry& e = xportset[i];
    uint8_t* images[4] = {e.setup3, e.setup4, e.setup6, e.setup7};
    for (int k = 0; k < 4; k++) {
        const RecordRead& r = further_records[k];
        if (!read_record(i, r.record, images[k], SETUP_LEN, r.failure)) return 0;
    }

    UnitNetwork n = derive_unit_network(e.setup0, e.addr.sin_addr.s_addr);
    // Every later exchange goes to this address: one that would reach other
    // hosts too (a broadcast) or none is not taken from the record.
    if (IsUnitAddress(n.addr) == 0) {
        char bad[INET_ADDRSTRLEN];
        dotted(n.addr, bad);
        PrnDebugf("Xport: %.16s : record 0 address %s is not a unit address, kept\n", e.ipstr, bad);
        n.addr = e.addr.sin_addr.s_addr;
    }
    e.dhcp = n.dhcp;
    e.addr.sin_addr.s_addr = n.addr;
    e.netmask = n.netmask;
    e.gateway = n.gateway;
    e.network_read = 1;

    char ip[INET_ADDRSTRLEN], sn[INET_ADDRSTRLEN], gw[INET_ADDRSTRLEN];
    dotted(n.addr, ip);
    dotted(n.netmask, sn);
    dotted(n.gateway, gw);
    PrnDebugf("DataGet Success : IP=%s SN=%s GW=%s\n", ip, sn, gw);
    return 1;
}

int EnsureUnitData(int i)
{
    if (i < 0 || i >= xportcount || i >= XPORT_MAX) return -1;
    DeviceEntry& e = xportset[i];
    if (is_wifi(e)) return e.network_read == 1 || read_wifi_port(i) ? 0 : -1;
    if ((e.records_read & XPORT_RECORDS) == XPORT_RECORDS && e.network_read == 1) return 0;
    if ((e.records_read & record_bit(0)) == 0 || (e.records_read & record_bit(5)) == 0) {
        if (!read_first_records(i)) return -1;
    }
    return GetXPortData(i) == 1 ? 0 : -1;
}

int OnSearchDevice(int port)
{
    // Keys typed while "検索中..." is shown are dropped when the search ends,
    // so the cursor starts on the list as the operator first sees it.
    struct DropTypedKeys {
        ~DropTypedKeys() { flushinp(); }
    } drop_typed_keys;
    PrnDebug("Searching Xport Devices\n");
    xport_search_progress = draw_search_progress;
    if (XPortSearch() < 0) {
        show_list_row1(" エラー");
        return 0;
    }
    if (xportcount <= 0) {
        show_list_row1(" 検索失敗");
        return 0;
    }

    // Removing an entry moves only entries already visited.
    for (int i = xportcount - 1; i >= 0; i--) prepare_found_unit(i);

    {
        ModelWorkers workers;
        for (int i = 0; i < xportcount; i++) {
            DeviceEntry& e = xportset[i];
            if (e.samenet != 1) continue;
            if (GetCmdPort(i) == port) {
                workers.start(i);
                PrnDebugf("%d : %d threads\n", i, workers.started());
            } else if (!is_wifi(e)) {
                if (GetXPortData(i) == 0) e.model = -999;
            }
        }
        if (workers.join_all() > 0) PrnDebug("modelget: all threads finished\n");
    }

    for (int i = xportcount - 1; i >= 0; i--) {
        if (xportset[i].model == -999) RemoveXPortEntry(i);
    }
    if (xportcount > 0) return 1;
    // Every unit was dropped: the search has ended, so the progress text goes.
    show_list_row1(" 検索失敗");
    return 0;
}
