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
constexpr int HOST_IFNAME_LEN = 16;     // a host interface name with its terminator

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
    int host_if;                // system index of the host interface its reply came in on, 0 unknown
    char host_ifname[HOST_IFNAME_LEN]; // that interface's name, "" when unknown
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
    unsigned records_read;      // bit n set once setup record n was read into its image
    int network_read;           // 1 once dhcp, netmask and gateway hold the unit's own settings
};

// The records an XPort unit's screens show and write back, as bits of records_read.
constexpr unsigned record_bit(int record) { return 1u << record; }
constexpr unsigned XPORT_RECORDS =
    record_bit(0) | record_bit(3) | record_bit(4) | record_bit(5) | record_bit(6) | record_bit(7);

// Module kinds (DeviceEntry::modtype) by name.
constexpr int MODTYPE_XPORT = 0;  // a plain XPort
constexpr int MODTYPE_GC = 1;     // an XPort with "GC" firmware
constexpr int MODTYPE_WIFI = 3;   // a WiFi module
constexpr bool is_gc(int modtype) { return modtype == MODTYPE_GC; }
constexpr bool is_wifi(int modtype) { return modtype == MODTYPE_WIFI; }
inline bool is_gc(const DeviceEntry& e) { return is_gc(e.modtype); }
inline bool is_wifi(const DeviceEntry& e) { return is_wifi(e.modtype); }

extern DeviceEntry xportset[XPORT_MAX];
extern int xportcount;
extern int search_port;             // 0 = not given
extern const char* modelstr[32];    // row 2m wired name, row 2m+1 WiFi name

// ---- time-outs of every exchange ----
constexpr int TCP_CONNECT_MS = 1500;       // connection of every TCP exchange
constexpr int TCP_IO_MS = 1500;            // send and receive time-out, and the longest silence in a reply
constexpr int TCP_REPLY_DEADLINE_MS = 10000;// a whole TCP reply (or WiFi dump) must be in by then
constexpr int UDP_REPLY_MS = 1000;         // first datagram of a UDP reply
constexpr int UDP_LATER_MS = 1000;         // all later datagrams of that reply, counted from the first
constexpr int SEARCH_FIRST_MS = 5000;      // broadcast search: wait for the first reply
constexpr int SEARCH_RENEW_MS = 1000;      // renewed after each reply
constexpr int SEARCH_LIMIT_MS = 15000;     // the whole search, however often units answer
constexpr int SEARCH_RCVBUF = 1 << 20;     // receive buffer: 512 answers (256 units, both queries)
constexpr int DISCOVERY_GAP_MS = 50;       // between the two discovery queries

// ---- pure builders and parsers (no sockets; unit tests call them directly) ----
constexpr int DISCOVERY_REPLY_MAX = 30;    // bytes of a discovery reply that are read
extern const uint8_t discovery_query1[4];  // 0x00 0x00 0x00 0xF6
extern const uint8_t discovery_query2[2];  // "LN"
// 1 for "X1", "X2", "X4", "X5", "X6", "X9" and "_L"; 0 for any other type.
int IsAcceptedDeviceType(const char devtype[2]);
// Stores the discovery reply's bytes 5, 6, 8..9 and 24..29 into e; bytes
// beyond len are not read (the caller clears the entry first).
void ParseDiscoveryReply(const uint8_t* reply, int len, DeviceEntry* e);

// Read request of record n (4 bytes); 0, or -1 for a record outside 0..31.
int BuildRecordRead(int record, uint8_t out[4]);
// Write header of record n into the first four bytes of an image; more is 1
// when the same operation writes further records after this one.
void SetRecordWriteHeader(uint8_t* image, int record, int more);
constexpr int EXTFIRM_QUERY_LEN = 4;
constexpr int EXTFIRM_REPLY_LEN = 33;
extern const uint8_t extfirm_query[EXTFIRM_QUERY_LEN];   // 0x00 0x00 0x00 0xF4
// Copies the text at reply byte 16 (at most 17 characters, ends at a zero
// byte or at the end of the reply) into out (size bytes, size >= 1).
// Returns 1 when the text contains "GC", else 0.
int ParseExtraFirmware(const uint8_t* reply, int len, char* out, int size);
constexpr int IP_SETUP_LEN = 20;
// The set-address-by-MAC broadcast: header 0x00 0x00 0x00 0xFC, "IP-SETUP",
// two zero bytes, MAC bytes 4 and 5, the address in network order.
void BuildIPSetup(const uint8_t mac[6], in_addr_t ip, uint8_t out[IP_SETUP_LEN]);

// The one-byte "UU" answer: 0 with model and unit ID, or one of the refusals.
enum { MODEL_ANSWER_OK = 0, MODEL_ANSWER_MODEL7 = 1, MODEL_ANSWER_ID_F = 2, MODEL_ANSWER_AT = 3 };
int DecodeUUAnswer(const uint8_t reply[2], int* model, int* unit_id);
// The 5-byte "MI" answer: unit ID from byte 2, model from byte 3.
void DecodeMIAnswer(const uint8_t reply[5], int* model, int* unit_id);

// Lettered commands of the controller with their fixed lengths, terminator included.
struct UnitCommand {
    const char* name;     // "AJ", "MR0401", ...
    int request_len;
    int reply_len;
};
extern const UnitCommand unit_commands[];
extern const int unit_command_count;
const UnitCommand* FindUnitCommand(const char* name);   // null when unknown
constexpr uint8_t CMD_END = 0xC8;                        // terminator of every lettered command
// "MR" + 4 capital hex digits of the address + 0xC8 (7 bytes).
void BuildMemoryRead(int address, uint8_t out[7]);
// "MW" + address + 2 hex digits per data byte + 0xC8; n is 1 or 2.
// Returns the request length (9 or 11), or -1 for another n.
int BuildMemoryWrite(int address, const uint8_t* data, int n, uint8_t* out);
// The n data bytes of a memory read reply (2 hex digits each from byte 6).
// 0, or -1 when the reply is too short or a digit is not hexadecimal.
int ParseMemoryReply(const uint8_t* reply, int len, int n, uint8_t* data);
// Replies of the 2-byte parameter commands. A write's reply must repeat both
// request bytes (0, else -1). A read's reply must repeat the code in byte 0:
// then *value (when given) gets byte 1 and the result is 0; else -1 and
// nothing is stored.
int CheckParamWriteReply(const uint8_t request[2], const uint8_t reply[2]);
int ParseParamReadReply(const uint8_t request[2], const uint8_t reply[2], int* value);
// "AK" request of analog channel c (4 bytes) and the 13-byte "AL" request.
// 0, or -1 with nothing built for a channel outside 0..2 or a mail code
// outside 0..3 (the two bits the mode byte has for it).
constexpr int ANALOG_INPUTS = 3;
int BuildThresholdRead(int channel, uint8_t out[4]);
int BuildThresholdWrite(int channel, int led, int mail, int high, int low, uint8_t out[13]);
// Reads led, mail, low (bytes 4..7) and high (bytes 8..11) from a 13-byte
// "AK" reply; 0, or -1 (nothing stored) when a threshold digit is not hexadecimal.
int ParseThresholdReply(const uint8_t reply[13], int* led, int* mail, int* high, int* low);
// "AJ" request of analog input c (4 bytes); the range is the low nibble of
// byte 3 of its 6-byte reply (0..15).
void BuildRangeRead(int input, uint8_t out[4]);
int ParseRangeReply(const uint8_t reply[6]);
// DO alert d (0 DO1, 1 DO2): "DJ" read (4 bytes, 11-byte reply), "DL"
// watched input, direction and width (10 bytes), "DS" start or stop (5 bytes).
void BuildDOAlertRead(int d, uint8_t out[4]);
// enable = byte 3 bit 0, input = byte 4 AND 7, direction = byte 5 bit 0,
// width = bytes 6..9 as hex; 0, or -1 (nothing stored) for a digit that is not hex.
int ParseDOAlertReply(const uint8_t reply[11], int* enable, int* input, int* direction, int* width);
void BuildDOAlertWrite(int d, int input, int direction, int width, uint8_t out[10]);
void BuildDOAlertStart(int d, int enable, uint8_t out[5]);

// WiFi module: clears every field the dump fills, and the versions.
void ClearEspFields(DeviceEntry* e);
// Stores one dump pair into e when the key is one the tool keeps; 1 stored, 0 skipped.
int StoreEspValue(DeviceEntry* e, const char* key, const char* value);
// The number after the marker of one version line ("SKETCH VER : " or
// "SKETCH VER"); 0 when neither marker is in the line.
int ParseEspVersionLine(const char* line, const char* marker_long, const char* marker_short);
// Reads both versions from a version reply of len bytes. 1 when the reply
// holds two complete lines, else 0 with both versions 0.
int ParseEspVersions(const uint8_t* reply, int len, int* sketch_ver, int* text_ver);
// Bytes of a dump reply come one at a time from next(ctx, &byte): 1 a byte,
// 0 the connection was closed, -1 a receive failed. Runs the dump over them
// into e; returns 0 after the pair whose key is "END", else one of:
enum { ESP_DUMP_OK = 0, ESP_DUMP_RECV_ERROR = -1, ESP_DUMP_NO_LINEFEED = -2, ESP_DUMP_NO_END = -3 };
int ReadEspDump(int (*next)(void* ctx, uint8_t* byte), void* ctx, DeviceEntry* e);

// ---- device table ----
void InitXPortSet();
void ResetXPortEntry(int i);        // clears entry i completely before it is (re)used
void RemoveXPortEntry(int i);       // entries i+1..255 move down, xportcount - 1
// The model and module kind of table entry i; -1 for an index outside the table.
int unit_model(int i);
int unit_modtype(int i);
int GetCmdPort(int i);              // setup0 bytes 24..25, little-endian
void SetCmdPort(int i, int port);   // low 16 bits into setup0 bytes 24..25
// Model text of the device list: model name, "(G)", "WiFi" or the device type.
// Writes at most size bytes including the terminator.
void GetModelText(int i, char* out, int size);

// ---- discovery ----
// Draws "検索中..." while the search runs; set by the screens, may be null.
extern void (*xport_search_progress)();
// Reads one reply into entry index (also the host interface it came in on,
// when the socket reports it).
int get_xport_information(int sock, sockaddr_in* addr, int index);
// One reply of the search: read into the next free entry and kept when its
// type is accepted and no entry has both its source address and its MAC
// address yet. 1 kept, 0 dropped, -1 the read failed.
int TakeDiscoveryReply(int sock);

// A host interface the search sends its queries on.
constexpr int SEARCH_IF_MAX = 32;
struct SearchInterface {
    int index;                    // the system's interface index
    char name[HOST_IFNAME_LEN];   // its name
};
// 1 for an interface the search sends on: up, able to broadcast, not
// loopback (flags as the system reports them, IFF_*), with an IPv4 address.
int IsSearchInterface(unsigned flags, int family);
// The host's search interfaces, each once, in the system's order; at most
// max. The count, or -1 when the system's list cannot be read.
int ListSearchInterfaces(SearchInterface* out, int max);
// The broadcast search on every search interface of the host (by the
// default route when it has none).
int XPortSearch();
// The same search on these interfaces only: each query goes out on each of
// them in turn, by that interface whatever the routes say, and every reply
// is read from one socket. count 0: one query of each by the default route.
int XPortSearchOn(const SearchInterface* ifs, int count);
// The same search, ended as soon as found_all(ctx) holds after a reply was
// kept (the units it was run for have all answered); null: XPortSearchOn.
int XPortSearchUntil(const SearchInterface* ifs, int count, bool (*found_all)(void* ctx),
                     void* ctx);
// A unit coming back after a restart: both discovery queries out of host
// interface ifindex (the default route for 0), again every REFIND_RESEND_MS,
// until the unit with this MAC answers or wait_ms have passed. 1 with *out
// the unit as its reply shows it (address, interface; nothing else read),
// 0 when it did not answer in time, -1 when no socket could be opened. The
// device table is not touched.
constexpr int REFIND_RESEND_MS = 250;
int XPortFindMac(const uint8_t mac[6], int ifindex, int wait_ms, DeviceEntry* out);
int XPortAdd(const char* address);

// ---- setup records ----
int UDP_SendRecv(in_addr_t ip, const uint8_t* request, int reqlen, uint8_t* reply, int replen);
// One datagram to 255.255.255.255:30718 out of host interface ifindex (the
// one a unit answered on), by the default route for 0; nothing is awaited.
// 0, or -1 after logging the failure as UDP_SendRecv does.
int UDP_BroadcastOn(int ifindex, const uint8_t* request, int reqlen);
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
