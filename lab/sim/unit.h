// One simulated unit: its XPort (or WiFi) module, its controller and its fault knobs.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace sim {

enum class Module { XPort, GC, WiFi };
enum class Query { F6, LN, Both, None };  // which discovery query the unit answers
enum class Answer { UU, MI, AT };         // how the controller answers the model query

struct Faults {
    bool udp_silent = false;            // no answer to any datagram
    int unreadable_record = -1;         // this record's reads get no answer
    int udp_delay_ms = 0;               // datagram answers sent this late
    int udp_truncate = -1;              // datagram answers cut to this many bytes (-1: whole)
    bool udp_garbage = false;           // datagram answers replaced by junk of the same length
    int udp_trickle_ms = 0;             // datagram answers sent in pieces this far apart (0: whole)
    int udp_trickle_bytes = 0;          // bytes of each such piece (0: one)
    int udp_extra_bytes = 0;            // junk bytes added to a datagram answer (up to the largest)
    bool tcp_silent = false;            // connections accepted, never answered
    bool refused = false;               // no TCP listener at all
    int delay_ms = 0;                   // TCP answers sent this late
    int truncate = -1;                  // TCP answers cut to this many bytes (-1: whole)
    bool close_early = false;           // closes as soon as a request arrived
    bool wrong_echo = false;            // parameter commands answered wrongly
    bool garbage = false;               // TCP answers replaced by junk of the same length
    int trickle_ms = 0;                 // TCP answers sent in pieces this far apart (0: whole)
    int trickle_bytes = 0;              // bytes of each such piece (0: one)
    int extra_bytes = 0;                // junk bytes sent after a TCP answer
    bool dump_stops_after_end = false;  // WiFi dump lacks the line after END and stays open
    int long_dump_line = 0;             // WiFi dump's first value line this long (0: normal)
    int uu_delay_ms = 0;                // the "UU" answer comes this much later still
    int discovery_repeat_ms = 0;        // discovery answers sent again this often (0: once)
};

// Knobs that act only on the requests starting with `prefix` (framed TCP requests,
// datagrams, WiFi texts), from the from-th such request on, for `times` of them.
struct TargetedFaults {
    std::vector<uint8_t> prefix;
    int from = 1;    // the first matching request that fails (1: the first)
    int times = -1;  // how many fail (-1: all from then on)
    Faults knobs;    // only the request knobs (silence, timing, truncation, junk, echo)
    int seen = 0;    // matching requests so far
};

struct AnalogInput {
    int range = 0;                              // "AJ" byte 3, "AR"
    int led = 0, mail = 0;                      // "AK" byte 3, "AL"
    int low = 0, high = 65535;                  // "AK"/"AL" thresholds
    int tc_type = 0, tc_flags = 0, tc_out = 0;  // "TJ"/"TC"/"TF"
    int tc_low = 0, tc_high = 0;
};

struct DoAlert {
    int enable = 0, input = 0, direction = 0, width = 0;  // "DJ", "DL", "DS"
};

constexpr int kRecord0Len = 124;
constexpr int kRecordLen = 130;
constexpr int kAnalogInputs = 3;
constexpr int kDoAlerts = 4;

struct Unit {
    std::string name;
    int net = 1;           // the plant network it sits on (1: the host's first link)
    uint32_t ip = 0;       // address it answers on now, network order
    uint32_t dhcp_ip = 0;  // address after a restart with DHCP
    std::array<uint8_t, 6> mac{};
    char devtype[2] = {'X', '5'};
    Module module = Module::XPort;
    Query query = Query::F6;
    int nib5 = 6, nib6 = 1;
    int model = 0;
    int unit_id = 1;  // rotary switch, 15 = F
    Answer answer = Answer::UU;
    std::string extfirm;
    // Record images, header included: [0] 124 bytes, [1] and [3..7] 130 bytes, [2] unused.
    std::array<std::vector<uint8_t>, 8> records;
    bool record1_written = false;
    std::array<uint8_t, 256> params{};
    std::map<uint16_t, uint8_t> memory;
    std::array<AnalogInput, kAnalogInputs> ai{};
    int notice = 0;
    std::array<DoAlert, kDoAlerts> dos{};
    std::vector<std::pair<std::string, std::string>> wifi;  // WiFi module parameters, in order
    std::array<std::string, 2> versions{"SKETCH VER : 12", "TEXT VER : 3"};
    Faults faults;
    std::vector<TargetedFaults> faults_on;
    int restarts = 0;

    bool is_wifi() const { return module == Module::WiFi; }
    int cmd_port() const;  // record 0 bytes 24..25, or the WiFi PORT
    const std::string* wifi_value(const std::string& key) const;
    void set_wifi(const std::string& key, const std::string& value);
    // The knobs for this request: the plain ones and those of every entry of
    // faults_on it matches (counted here, so call it once per request).
    Faults faults_for(const std::vector<uint8_t>& request);
};

// Where a unit's settings sit in the record images (offsets include the 4-byte header).
namespace rec {
constexpr int kIp = 4, kHostBits = 10, kGateway = 16, kCmdPort = 24, kDport1 = 26, kDest1 = 28,
              kMode1 = 32, kPort2 = 72, kDport2 = 74, kMode2 = 80;  // record 0
constexpr int kSmtpPort = 116, kPort3 = 126, kMode3 = 128;          // record 3
constexpr int kMailHost = 79;                                       // record 4
constexpr int kSmtpIp = 4, kTo1 = 8, kTo2 = 57, kFromUser = 106;    // record 5
constexpr int kFromDomain = 4, kSubject = 33, kSubject2 = 67;       // record 6
constexpr int kDestText1 = 21, kDestText2 = 72;                     // record 7 (GC)
constexpr int kAuthPass = 70, kAuthUser = 85;                       // record 1
}  // namespace rec

uint16_t get_le16(const std::vector<uint8_t>& image, int at);
void put_le16(std::vector<uint8_t>& image, int at, uint16_t v);
uint32_t get_ip(const std::vector<uint8_t>& image, int at);     // network order
void put_ip(std::vector<uint8_t>& image, int at, uint32_t ip);  // network order
// Zero-terminated text at `at`, never reaching `end`.
void put_text(std::vector<uint8_t>& image, int at, int end, const std::string& text);
std::string get_text(const std::vector<uint8_t>& image, int at);

int host_bits_of(uint32_t mask);   // network order mask -> host bits (-1 if not contiguous)
uint32_t mask_of(int host_bits);   // host bits -> network order mask
std::string ip_text(uint32_t ip);  // network order -> dotted
bool parse_ip(const std::string& text, uint32_t* ip);

// Record 0 says DHCP when its address bytes 4, 5 and 7 are all zero.
bool record0_dhcp(const Unit& u);

}  // namespace sim
