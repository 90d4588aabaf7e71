// Device table and every exchange with a unit: discovery and setup records
// (UDP 30718), the controller's command channel (TCP at the command port)
// and the WiFi module's key/value protocol (TCP 9998).
// This is the only part of the program that opens sockets; it never draws.
#pragma once

#include <cstdint>
#include <netinet/in.h>
#include <sys/socket.h>

constexpr int XPORT_MAX = 256;          // entries of the device table
constexpr int XPORT_UDP_PORT = 30718;   // discovery and setup records
constexpr int ESP_TCP_PORT = 9998;      // WiFi module parameter protocol

constexpr int SETUP0_LEN = 124;         // record 0 image, reply header included
constexpr int SETUP_LEN = 130;          // records 1 and 3..7

struct DeviceEntry {
    sockaddr_in addr;           // discovery reply source; address part is the unit's address for UDP
    uint8_t mac[6];             // MAC address, discovery reply bytes 24..29
    char ipstr[16];             // dotted address all TCP exchanges connect to
    uint8_t disc_nib5;          // high nibble of discovery reply byte 5 (stored, never read)
    uint8_t disc_nib6;          // high nibble of discovery reply byte 6 (stored, never read)
    char devtype[2];            // "X1".."X9" for an XPort, "_L" for a WiFi module (no terminator)
    int model;                  // 0..15; -1 not yet queried; -999 to be dropped after a search
    int unit_id;                // rotary switch 0..15; -1 not yet queried
    int samenet;                // 1 when the unit lies in one of the host's networks
    int dhcp;                   // 1 when the unit takes its address automatically
    in_addr_t netmask;          // subnet mask, network order
    in_addr_t gateway;          // default gateway, network order
    uint8_t setup0[SETUP0_LEN]; // record images as read, header included
    uint8_t setup3[SETUP_LEN];
    uint8_t setup4[SETUP_LEN];
    uint8_t setup5[SETUP_LEN];
    uint8_t setup6[SETUP_LEN];
    uint8_t setup7[SETUP_LEN];
    char extfirm[18];           // extra firmware text of an "X6" unit
    int modtype;                // 0 XPort, 1 XPort with "GC" firmware, 3 WiFi module
    int esp_port;               // WiFi key PORT: the unit's command port
    char mhost[256];            // WiFi key MHOST (mail server)
    int mport;                  // WiFi key MPORT
    char muser[256];            // WiFi key MUSER
    char mpass[256];            // WiFi key MPASS
    char mfrom[256];            // WiFi key MFROM
    char mto1[256];             // WiFi key MTO1
    char mto2[256];             // WiFi key MTO2
    char msubj[256];            // WiFi key MSUBJ
    char hip[256];              // WiFi key HIP (host of the connection request)
    int hport;                  // WiFi key HPORT
    int sketch_ver;             // WiFi module program version, 0 if not reported
    int text_ver;               // WiFi parameter-text version, 0 if not reported
};

extern DeviceEntry xportset[XPORT_MAX];
extern int xportcount;
extern int search_port;             // 0 = not given
extern const char* modelstr[32];    // row 2m wired name, row 2m+1 WiFi name

// ---- device table ----
void InitXPortSet();
void ResetXPortEntry(int i);        // clears entry i completely before it is (re)used
void RemoveXPortEntry(int i);       // entries i+1..255 move down, xportcount - 1
int GetCmdPort(int i);              // setup0 bytes 24..25, little-endian
void SetCmdPort(int i, int port);   // low 16 bits into setup0 bytes 24..25
// Model text of the device list: model name, "(G)", "WiFi" or the device type.
// Writes at most size bytes including the terminator.
void GetModelText(int i, char* out, int size);

// ---- discovery ----
// Draws "検索中..." while the search runs; set by the screens, may be null.
extern void (*xport_search_progress)();
int get_xport_information(int sock, sockaddr_in* addr, int index);
int XPortSearch();
int XPortAdd(const char* address);

// ---- setup records ----
int UDP_SendRecv(in_addr_t ip, const uint8_t* request, int reqlen, uint8_t* reply, int replen);
int GetSetupRecord(in_addr_t ip, int record, uint8_t* buffer, int length);
in_addr_t XsubnetDecode(int hostbits);
int XSubnetEncode(in_addr_t mask);

// ---- command channel ----
int ConnectCore(int& sock, const sockaddr_in* address, int timeout_ms);
int SendRecv(const char* ip, int port, int reqlen, const uint8_t* request, int replen, uint8_t* reply);
int SendRecvRaw(int index, int reqlen, const uint8_t* request, int replen, uint8_t* reply);
int GetUnitModelID(const char* ip, int port, int* model, int* unit_id);

// ---- unit parameters ----
int setPICparameter_new(const char* ip, int port, int code, int value);
int getPICparameter_new(const char* ip, int port, int code, int index, int* value);
int NQKivraSetDiMailEnable(int index, int v);
int NQKivraGetDiMailEnable(int index, int* v);
int NQKivraSetDiMailLogic(int index, int v);
int NQKivraGetDiMailLogic(int index, int* v);
int NQKivraSetDisconnectionTime(int index, int code);
int NQKivraGetDisconnectionTime(int index, int* code);
int NQKivraSetNoticeTime(int index, int code);
int NQKivraGetNoticeTime(int index, int* code);
int NQKivraSetDiDetectTime(int index, int ms);
int NQKivraGetDiDetectTime(int index, int* ms);
int GetADCThreshold(int index, int channel, int* led, int* mail, int* high, int* low);
int SetADCThreshold(int index, int channel, int led, int mail, int high, int low);

// ---- WiFi module ----
int Get_ESP_Parameter(int index);
int Get_ESP_Port(int index);
int Set_ESP_Parameter(int index, const char* text);

// ---- the "UU" / "MI" model exchange ----
// Shared by GetUnitModelID and the settings menu's model check, which differ
// only in some log texts and in how they report results.
struct ModelQueryLog {
    const char* connect_failed;   // after a failed connect
    const char* recv_warning;     // when all 100 receive calls were used
    bool log_refusals;            // log "model = 7\n", "ID = F\n", "ID = AT\n"
};
// 0: model and unit ID stored; 1: the unit answered but cannot be used
// (model 7, unit ID F, "AT"); -1: a socket step failed, *error holds the
// system error number of that step (or EIO when the system set none).
// Bytes that were not received are never decoded.
int ModelQuery(const char* ip, int port, const ModelQueryLog& log, int* model, int* unit_id,
               int* error);
