// The simulator's network side: sockets for every unit, one poll loop, timed answers.
#pragma once

#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "lab/sim/journal.h"
#include "lab/sim/plant.h"
#include "lab/sim/protocol.h"

namespace sim {

struct UniqueFd {
    int fd = -1;
    UniqueFd() = default;
    explicit UniqueFd(int f) : fd(f) {}
    UniqueFd(UniqueFd&& o) noexcept : fd(o.fd) { o.fd = -1; }
    UniqueFd& operator=(UniqueFd&& o) noexcept
    {
        if (this != &o) {
            reset();
            fd = o.fd;
            o.fd = -1;
        }
        return *this;
    }
    ~UniqueFd() { reset(); }
    void reset()
    {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
};

struct Options {
    std::string plant_path, journal_path, state_path;
    // The plant's veths, one per plant network (network n is devs[n - 1]),
    // where unit addresses live.
    std::vector<std::string> devs;
    pid_t parent = 0;                // end when this process is gone (0: never)
};

class Sim {
  public:
    Sim(Plant plant, Journal& journal, Options options);
    bool start();  // adds addresses, binds every socket, journals "ready"
    void run();    // until stop() or the parent ends
    void write_state();
    static void stop();                // from a signal handler
    static void dump_state_request();  // from a signal handler

  private:
    struct Listener {
        UniqueFd fd;
        size_t unit;
        bool wifi;
        std::string local;
    };
    struct Conn {
        UniqueFd fd;
        size_t unit;
        bool wifi;
        int id;
        Bytes buf;
        std::string local, peer;
        bool set_text_done = false;
        long long busy_until_us = 0;  // the last answer posted on it goes out then
    };
    struct Pending {  // an answer waiting for its time
        bool tcp;
        size_t unit;
        int conn;               // tcp
        uint32_t from_ip;       // udp: the unit's address it answers from
        std::string peer;       // udp: "a.b.c.d:port"
        sockaddr_storage to{};  // udp destination
        Bytes bytes;
        bool close_after;  // tcp: the unit closes after this answer
        int repeat_ms = 0;  // udp: sent again this often (a unit that keeps answering)
    };

    bool add_address(uint32_t ip, int net);
    void drop_address(uint32_t ip, int net);
    const std::string& dev_of(int net) const;
    // A broadcast that came in on interface ifindex reaches the unit's network.
    bool on_network(const Unit& u, int ifindex) const;
    bool open_udp(uint32_t ip);
    void open_listeners(size_t unit);
    void close_listeners(size_t unit);
    void restart(size_t unit);

    void on_udp(int fd);
    void on_accept(Listener& l);
    void on_conn(Conn& c);
    void handle_command(Conn& c);
    void handle_wifi(Conn& c, bool closing);
    // A silent or closing fault: journals the request "ignored"; true when it acted.
    bool ignore_request(Conn& c, const Bytes& req, const Faults& f);
    void send_tcp(Conn& c, Bytes bytes, bool close_after, const Faults& f, int extra_delay_ms = 0);
    void post(Pending p, int delay_ms);
    void post_at(Pending p, long long due_us);
    void deliver(Pending& p);
    void hang_up(Conn& c);
    Conn* find_conn(int id);
    void journal(size_t unit, const char* proto, const char* dir, const std::string& local,
                 const std::string& peer, int conn, const Bytes& bytes, const std::string& event,
                 long long t_us = 0);

    Plant plant_;
    Journal& journal_;
    Options opt_;
    UniqueFd broadcast_;                // 0.0.0.0:30718
    std::map<uint32_t, UniqueFd> udp_;  // per unit address
    std::vector<std::unique_ptr<Listener>> listeners_;
    std::vector<std::unique_ptr<Conn>> conns_;
    std::multimap<long long, Pending> pending_;
    int next_conn_ = 1;
    std::vector<int> dev_index_;  // the system's index of each of opt_.devs
};

}  // namespace sim
