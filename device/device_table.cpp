#include "device/KIVRAXPort.h"
#include "device/record_fields.h"

#include <cstdio>
#include <cstring>

DeviceEntry xportset[XPORT_MAX];
int xportcount = 0;
int search_port = 0;

const char* modelstr[32] = {
    "ZR-201", "ZR-201W", "ZR-202", "ZR-202W", "ZR-203", "ZR-203W", "ZR-204", "ZR-204W",
    "ZR-205", "ZR-205W", "ZR-206", "ZR-206W", "ZR-207", "ZR-207W", "", "",
    "ZR-301", "**", "ZR-302", "**", "ZR-301 V2", "**", "ZR-303", "**",
    "", "", "", "", "", "", "", "",
};

void InitXPortSet()
{
    xportcount = 0;
    for (DeviceEntry& e : xportset) {
        e.model = -1;
        e.unit_id = -1;
        e.extfirm[0] = '\0';
        e.modtype = MODTYPE_XPORT;
    }
}

void ResetXPortEntry(int i)
{
    if (i < 0 || i >= XPORT_MAX) return;
    std::memset(&xportset[i], 0, sizeof(DeviceEntry));
    xportset[i].model = -1;
    xportset[i].unit_id = -1;
}

void RemoveXPortEntry(int i)
{
    if (i < 0 || i >= xportcount) return;
    std::memmove(&xportset[i], &xportset[i + 1], sizeof(DeviceEntry) * (XPORT_MAX - 1 - i));
    xportcount--;
}

int unit_model(int i) { return i >= 0 && i < XPORT_MAX ? xportset[i].model : -1; }
int unit_modtype(int i) { return i >= 0 && i < XPORT_MAX ? xportset[i].modtype : -1; }

int GetCmdPort(int i)
{
    if (i < 0 || i >= XPORT_MAX) return 0;
    return get_le16(xportset[i].setup0, rec::cmd_port);
}

void SetCmdPort(int i, int port)
{
    if (i < 0 || i >= XPORT_MAX) return;
    put_le16(xportset[i].setup0, rec::cmd_port, port);
}

void GetModelText(int i, char* out, int size)
{
    if (out == nullptr || size <= 0) return;
    out[0] = '\0';
    if (i < 0 || i >= XPORT_MAX) return;
    const DeviceEntry& e = xportset[i];
    int model = e.model;
    if (model < -1 || model > 15) model = 0;
    char devtype[3] = {e.devtype[0], e.devtype[1], '\0'};
    if (model == -1) {
        std::snprintf(out, size, "%s", is_wifi(e) ? "WiFi" : devtype);
    } else if (modelstr[2 * model][0] != '\0') {
        std::snprintf(out, size, "%s%s", modelstr[2 * model + (is_wifi(e) ? 1 : 0)],
                      is_gc(e) ? "(G)" : "");
    } else {
        std::snprintf(out, size, "%s", devtype);
    }
}
