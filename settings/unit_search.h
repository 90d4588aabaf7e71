// The search of a plant as the device list and the command line run it: the
// host's own networks, discovery on every host interface, the units that can
// be used keeping their setup records, the model-query workers, and the
// steps that adding a unit by address shares. Knows units, never draws: the
// only drawing is xport_search_progress, which a caller may set.
#pragma once

#include <netinet/in.h>
#include <pthread.h>
#include <cstdint>

#include "device/KIVRAXPort.h"

// ---- the host's own networks ----

constexpr int MYIP_MAX = 64;

struct MyIpEntry {
    char ifname[256];  // interface name as the system reports it
    in_addr_t ip;      // interface address, network order
    in_addr_t mask;    // interface netmask, network order
};

extern MyIpEntry MyIp[MYIP_MAX];
extern int MyIpCnt;

int GetMyNetwork();
int IsSameNetwork(in_addr_t host, in_addr_t mask, in_addr_t unit);
// 1 when an address read from a unit can be talked to as that unit alone;
// 0 for 0.0.0.0/8, 127/8, 224.0.0.0 and above (255.255.255.255 included)
// and the broadcast address of one of the host's networks (MyIp).
int IsUnitAddress(in_addr_t ip);

// ---- the search ----

enum { SEARCH_FAILED = -1, SEARCH_NONE = 0, SEARCH_FOUND = 1 };
// Logs "Searching Xport Devices", runs the discovery on these host
// interfaces (every search interface when ifs is null), keeps the units that
// can be used with their records read, asks the model of each unit in the
// host's networks whose command port is `port` (one worker each) and drops
// the units whose reads failed. SEARCH_FOUND when units are left in
// xportset, SEARCH_NONE when none answered or every one was dropped,
// SEARCH_FAILED when the discovery could not run.
// With found_all the discovery ends as soon as found_all(ctx) holds after a
// reply (the units the search is run for have all answered).
int SearchPlant(int port, const SearchInterface* ifs, int count,
                bool (*found_all)(void* ctx) = nullptr, void* ctx = nullptr);

// A unit the last search heard but dropped, and the read that failed.
struct DroppedUnit {
    uint8_t mac[6];
    char ipstr[16];
    char host_ifname[HOST_IFNAME_LEN];
    const char* step;  // "reading setup record 0", ...
};
extern DroppedUnit search_dropped[XPORT_MAX];
extern int search_dropped_count;
// The WiFi modules the last search heard outside the host's networks: they
// are not listed (a WiFi module is set only from inside its own network).
// step says so.
extern DroppedUnit search_unlisted[XPORT_MAX];
extern int search_unlisted_count;
// The read that failed for an entry whose reads did not all succeed.
const char* failed_read_step(const DeviceEntry& e);

// Reads records 3, 4, 6 and 7 and derives DHCP flag, address, mask and
// gateway from record 0. 1, or 0 when a read failed.
int GetXPortData(int i);
// Every screen calls this before it shows or writes unit i's record images
// or network settings (dhcp, netmask, gateway). Reads what was not read yet:
// records 0 and 5 and then the GetXPortData reads of an XPort unit, the
// parameters of a WiFi module, with their usual log lines. 0 when everything
// is read; -1 when a read failed, and the screen must then show "通信エラー"
// and not open. Draws nothing itself.
int EnsureUnitData(int i);
// Unit i after it restarted: waits at most wait_ms for the unit with its MAC
// to answer the discovery on its host interface, takes the address it
// answers at, and reads its records (or a WiFi module's parameters) again
// as EnsureUnitData does, again after the discovery while wait_ms lasts when
// a read fails; its model and module kind are kept. 0, or -1 when it did
// not answer in time (the entry is unchanged) or a read still failed when
// the wait ended (failed_read_step names it).
int RefindUnit(int i, int wait_ms);
void* tfunc_RecvModel(void* arg);

// ---- steps shared by the search and adding a unit ----

inline bool is_wifi_unit(const DeviceEntry& e)
{
    return e.devtype[0] == '_' && e.devtype[1] == 'L';
}
// Reads a WiFi module's parameters and takes its command port from them.
bool read_wifi_port(int i);
// Reads one record image into entry i and marks it read; logs the failure text on failure.
bool read_record(int i, int record, uint8_t* image, int length, const char* failure);
// Records 0 and 5, with their failure texts, as the search and adding a unit read them.
bool read_first_records(int i);
// Sets the entry's samenet from the host's interfaces, logging each match.
void mark_same_network(int i);
// Asks an "X6" unit for its extra firmware text; "GC" firmware makes it modtype 1.
void read_extra_firmware(int i);

// The model-query workers of one search (or of one added unit). Each worker
// gets its unit index by value and writes only its own table entry; a worker
// that cannot be started runs on the calling thread instead. Nothing may move
// in the device table between the first start and join_all.
class ModelWorkers {
  public:
    ModelWorkers() = default;
    ~ModelWorkers() { join_all(); }
    ModelWorkers(const ModelWorkers&) = delete;
    ModelWorkers& operator=(const ModelWorkers&) = delete;

    void start(int index);
    int join_all();  // joins in start order; returns how many were run
    int started() const { return count_; }
    int run_here() const { return run_here_; }  // queries that got no thread of their own

  private:
    pthread_t threads_[XPORT_MAX] = {};
    bool running_[XPORT_MAX] = {};  // a thread was created and not yet joined
    int index_[XPORT_MAX] = {};     // each worker's own index, stable while it runs
    int count_ = 0;
    int run_here_ = 0;
};
