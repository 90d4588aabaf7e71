// Pieces shared by the search, the device list, adding by address and the
// settings menu: pure helpers that the tests call directly, and the steps
// that the search and adding a unit run alike.
#pragma once

#include <curses.h>

#include <cstdint>
#include <netinet/in.h>
#include <pthread.h>

#include "device/KIVRAXPort.h"
#include "device/record_fields.h"

// ---- pure helpers ----

// One line of the device list for unit i, line feed included.
// Writes at most size bytes including the terminator.
void format_list_line(int i, char* out, int size);

// 1 when an address read from a unit can be talked to as that unit alone;
// 0 for 0.0.0.0/8, 127/8, 224.0.0.0 and above (255.255.255.255 included)
// and the broadcast address of one of the host's networks (MyIp).
int IsUnitAddress(in_addr_t ip);

// The groups of the settings menu that depend on the model.
enum class Group { InputExtend, MailAlert, Etc };
// nullptr when the group is offered for this model and module kind, otherwise
// the first line of the refusal message.
const char* model_gate_refusal(Group g, int model, int modtype);

// ---- steps shared by the search and adding a unit ----

inline bool is_wifi_unit(const DeviceEntry& e) { return e.devtype[0] == '_' && e.devtype[1] == 'L'; }
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
    int join_all();          // joins in start order; returns how many were run
    int started() const { return count_; }
    int run_here() const { return run_here_; }   // queries that got no thread of their own

private:
    pthread_t threads_[XPORT_MAX] = {};
    bool running_[XPORT_MAX] = {};   // a thread was created and not yet joined
    int index_[XPORT_MAX] = {};      // each worker's own index, stable while it runs
    int count_ = 0;
    int run_here_ = 0;
};

// ---- drawing ----

// The settings menu of one unit: element 0 the frame, 1..4 the items; all
// null while the menu is closed.
extern WINDOW* win_mainset[5];

// Erases device-list row 1 and writes a short text at its start.
void show_list_row1(const char* text);
// The search's progress: the eight list rows erased, "検索中..." in row 1.
void draw_search_progress();
