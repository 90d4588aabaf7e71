// The broadcast search: discovery, then the units that can be used keep their
// setup records and get their model asked, one worker per unit in parallel.
#include "settings/unit_search.h"

#include <arpa/inet.h>

#include <cstdio>
#include <cstring>

#include "device/KIVRAXPort.h"
#include "device/net_io.h"
#include "device/record_fields.h"
#include "base/DebugLog.h"
#include "base/bounded_text.h"

DroppedUnit search_dropped[XPORT_MAX];
int search_dropped_count = 0;
DroppedUnit search_unlisted[XPORT_MAX];
int search_unlisted_count = 0;

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

// Removes entry i, noting the unit and why in list (count entries) first.
void drop_unit(int i, DroppedUnit* list, int& count, const char* step)
{
    const DeviceEntry& e = xportset[i];
    if (count < XPORT_MAX) {
        DroppedUnit& d = list[count++];
        std::memcpy(d.mac, e.mac, sizeof d.mac);
        copy_text_n(d.ipstr, sizeof d.ipstr, e.ipstr, sizeof e.ipstr);
        copy_text_n(d.host_ifname, sizeof d.host_ifname, e.host_ifname, sizeof e.host_ifname);
        d.step = step;
    }
    RemoveXPortEntry(i);
}

// Removes entry i after a failed read.
void drop_failed_unit(int i)
{
    drop_unit(i, search_dropped, search_dropped_count, failed_read_step(xportset[i]));
}

// First pass of the search for entry i. Returns false when the entry was removed.
bool prepare_found_unit(int i)
{
    DeviceEntry& e = xportset[i];
    mark_same_network(i);
    if (is_wifi_unit(e)) {
        e.modtype = MODTYPE_WIFI;
        // A WiFi module outside the host's networks is not listed: it is set
        // only from inside its own network.
        if (e.samenet == 0) {
            drop_unit(i, search_unlisted, search_unlisted_count, "outside the host's networks");
            return false;
        }
        if (!read_wifi_port(i)) {
            drop_failed_unit(i);
            return false;
        }
        return true;
    }
    // A wired unit outside the host's networks keeps only its discovery data.
    if (e.samenet == 0) return true;
    e.modtype = MODTYPE_XPORT;
    if (!read_first_records(i)) {
        drop_failed_unit(i);
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

int RefindUnit(int i, int wait_ms)
{
    if (i < 0 || i >= xportcount || i >= XPORT_MAX) return -1;
    DeviceEntry& e = xportset[i];
    const Deadline limit = Deadline::after_ms(wait_ms);
    // A unit answering the discovery just after its restart may not take
    // reads yet, nor the host have found its new address on the link (an
    // address pinged a moment ago waits for its next ARP probe): the reads
    // are tried again, after the discovery, while the wait lasts.
    for (;;) {
        DeviceEntry back;
        if (XPortFindMac(e.mac, e.host_if, limit.remaining_ms(), &back) != 1) return -1;
        e.addr = back.addr;
        std::memcpy(e.ipstr, back.ipstr, sizeof e.ipstr);
        PrnDebugf("Xport: %.16s : back after its restart\n", e.ipstr);
        // Everything read before the restart may have changed with it.
        e.records_read = 0;
        e.network_read = 0;
        mark_same_network(i);
        if (EnsureUnitData(i) == 0) return 0;
        if (limit.remaining_ms() <= 0) return -1;
    }
}

const char* failed_read_step(const DeviceEntry& e)
{
    if (is_wifi(e)) return "reading the WiFi module's parameters";
    static const struct {
        int record;
        const char* step;
    } reads[] = {
        {0, "reading setup record 0"}, {5, "reading setup record 5"}, {3, "reading setup record 3"},
        {4, "reading setup record 4"}, {6, "reading setup record 6"}, {7, "reading setup record 7"},
    };
    for (const auto& r : reads)
        if ((e.records_read & record_bit(r.record)) == 0) return r.step;
    return "reading the unit's settings";
}

int SearchPlant(int port, const SearchInterface* ifs, int count, bool (*found_all)(void* ctx),
                void* ctx)
{
    PrnDebug("Searching Xport Devices\n");
    search_dropped_count = 0;
    search_unlisted_count = 0;
    const int found = ifs == nullptr ? XPortSearch() : XPortSearchUntil(ifs, count, found_all, ctx);
    if (found < 0) return SEARCH_FAILED;
    if (xportcount <= 0) return SEARCH_NONE;

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
        if (xportset[i].model == -999) drop_failed_unit(i);
    }
    return xportcount > 0 ? SEARCH_FOUND : SEARCH_NONE;
}
