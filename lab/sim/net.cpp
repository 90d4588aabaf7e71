// Sockets, addresses and the poll loop of the simulator.
#include "lab/sim/net.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

extern char** environ;

namespace sim {

namespace {

constexpr int kXPortPort = 30718;
constexpr int kWifiPort = 9998;
constexpr int kMaxPollMs = 200;
constexpr size_t kLargestDatagram = 65507;  // the most an IPv4 datagram carries

volatile sig_atomic_t g_stop = 0;
volatile sig_atomic_t g_dump = 0;

std::string endpoint(uint32_t ip, int port) { return ip_text(ip) + ":" + std::to_string(port); }

std::string endpoint(const sockaddr_in& a)
{
    return endpoint(a.sin_addr.s_addr, ntohs(a.sin_port));
}

int run_ip(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>("ip"));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid;
    if (posix_spawnp(&pid, "ip", nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

UniqueFd bound_socket(int type, uint32_t ip, int port)
{
    UniqueFd s(socket(AF_INET, type | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (s.fd < 0) return s;
    int one = 1;
    setsockopt(s.fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (type == SOCK_DGRAM) {
        setsockopt(s.fd, SOL_SOCKET, SO_BROADCAST, &one, sizeof one);
        setsockopt(s.fd, IPPROTO_IP, IP_PKTINFO, &one, sizeof one);
        // Datagrams are journalled at the time the kernel took them in, so a
        // busy simulator does not blur the gaps between what the tool sent.
        setsockopt(s.fd, SOL_SOCKET, SO_TIMESTAMPNS, &one, sizeof one);
    }
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = ip;
    if (bind(s.fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        (type == SOCK_STREAM && listen(s.fd, 128) != 0)) {
        fprintf(stderr, "kivrasim: cannot bind %s: %s\n", endpoint(ip, port).c_str(),
                strerror(errno));
        s.reset();
    }
    return s;
}

bool is_broadcast(uint32_t dst, uint32_t unit_ip)
{
    if (dst == INADDR_BROADCAST) return true;
    uint32_t d = ntohl(dst), u = ntohl(unit_ip);
    return (d & 0xFF) == 0xFF && (d & 0xFFFFFF00u) == (u & 0xFFFFFF00u);
}

// The extra_bytes faults: junk after the answer, never past `room` in all.
void add_extra(Bytes& bytes, int extra, size_t room)
{
    if (extra <= 0 || bytes.size() >= room) return;
    Bytes junk(std::min(static_cast<size_t>(extra), room - bytes.size()));
    garble(junk);
    bytes.insert(bytes.end(), junk.begin(), junk.end());
}

// The trickle faults: the answer in pieces of `size` bytes (one piece when not trickled).
std::vector<Bytes> pieces(const Bytes& bytes, int trickle_ms, int size)
{
    if (trickle_ms <= 0 || bytes.empty()) return {bytes};
    const size_t n = size > 0 ? static_cast<size_t>(size) : 1;
    std::vector<Bytes> out;
    for (size_t at = 0; at < bytes.size(); at += n)
        out.emplace_back(bytes.begin() + at, bytes.begin() + std::min(at + n, bytes.size()));
    return out;
}

}  // namespace

void Sim::stop() { g_stop = 1; }
void Sim::dump_state_request() { g_dump = 1; }

Sim::Sim(Plant plant, Journal& journal, Options options)
    : plant_(std::move(plant)), journal_(journal), opt_(std::move(options))
{}

void Sim::journal(size_t unit, const char* proto, const char* dir, const std::string& local,
                  const std::string& peer, int conn, const Bytes& bytes, const std::string& event,
                  long long t_us)
{
    Entry e;
    e.t_us = t_us;
    e.unit = unit < plant_.units.size() ? plant_.units[unit].name : "";
    e.proto = proto;
    e.dir = dir;
    e.local = local;
    e.peer = peer;
    e.conn = conn;
    e.bytes = bytes;
    e.event = event;
    journal_.write(e);
}

void Sim::write_state()
{
    if (!opt_.state_path.empty()) write_file_atomically(opt_.state_path, state_json(plant_.units));
}

const std::string& Sim::dev_of(int net) const
{
    const size_t k = net >= 1 && static_cast<size_t>(net) <= opt_.devs.size() ? net - 1 : 0;
    return opt_.devs[k];
}

bool Sim::on_network(const Unit& u, int ifindex) const
{
    if (opt_.devs.size() < 2 || ifindex == 0) return true;
    const size_t k = static_cast<size_t>(u.net - 1);
    return k < dev_index_.size() && dev_index_[k] == ifindex;
}

bool Sim::add_address(uint32_t ip, int net)
{
    // "File exists" is fine: another unit or a host already has it.
    run_ip({"addr", "add", ip_text(ip) + "/24", "dev", dev_of(net)});
    return true;
}

void Sim::drop_address(uint32_t ip, int net)
{
    for (const Unit& u : plant_.units)
        if (u.ip == ip) return;
    for (uint32_t h : plant_.hosts)
        if (h == ip) return;
    udp_.erase(ip);
    run_ip({"addr", "del", ip_text(ip) + "/24", "dev", dev_of(net)});
}

bool Sim::open_udp(uint32_t ip)
{
    if (udp_.count(ip)) return true;
    UniqueFd s = bound_socket(SOCK_DGRAM, ip, kXPortPort);
    if (s.fd < 0) return false;
    udp_[ip] = std::move(s);
    return true;
}

void Sim::open_listeners(size_t unit)
{
    const Unit& u = plant_.units[unit];
    if (u.faults.refused) return;
    auto add = [&](int port, bool wifi) {
        UniqueFd s = bound_socket(SOCK_STREAM, u.ip, port);
        if (s.fd < 0) return;
        auto l = std::make_unique<Listener>();
        l->fd = std::move(s);
        l->unit = unit;
        l->wifi = wifi;
        l->local = endpoint(u.ip, port);
        listeners_.push_back(std::move(l));
    };
    if (u.cmd_port() > 0 && !(u.is_wifi() && u.cmd_port() == kWifiPort)) add(u.cmd_port(), false);
    if (u.is_wifi()) add(kWifiPort, true);
}

void Sim::close_listeners(size_t unit)
{
    listeners_.erase(std::remove_if(listeners_.begin(), listeners_.end(),
                                    [unit](const auto& l) { return l->unit == unit; }),
                     listeners_.end());
}

bool Sim::start()
{
    // All addresses in one call: a plant of 256 units comes up quickly.
    std::string batch_path = opt_.state_path + ".ipbatch";
    std::string batch;
    if (static_cast<size_t>(plant_.networks) > opt_.devs.size()) {
        fprintf(stderr, "kivrasim: the plant has %d networks, the lab %zu\n", plant_.networks,
                opt_.devs.size());
        return false;
    }
    std::vector<std::pair<uint32_t, int>> all;  // address and network
    for (const Unit& u : plant_.units) {
        all.emplace_back(u.ip, u.net);
    }
    for (uint32_t h : plant_.hosts) all.emplace_back(h, 1);
    std::sort(all.begin(), all.end());
    all.erase(std::unique(all.begin(), all.end(),
                          [](const auto& a, const auto& b) { return a.first == b.first; }),
              all.end());
    for (const auto& [ip, net] : all)
        batch += "addr add " + ip_text(ip) + "/24 dev " + dev_of(net) + "\n";
    for (const std::string& dev : opt_.devs) dev_index_.push_back(static_cast<int>(if_nametoindex(dev.c_str())));
    if (!write_file_atomically(batch_path, batch) || run_ip({"-force", "-batch", batch_path}) < 0) {
        fprintf(stderr, "kivrasim: cannot add the unit addresses\n");
        return false;
    }
    unlink(batch_path.c_str());

    broadcast_ = bound_socket(SOCK_DGRAM, INADDR_ANY, kXPortPort);
    if (broadcast_.fd < 0) return false;
    for (size_t i = 0; i < plant_.units.size(); ++i) {
        if (!open_udp(plant_.units[i].ip)) return false;
        open_listeners(i);
    }
    write_state();
    journal(SIZE_MAX, "", "", "", "", 0, {}, "ready");
    return true;
}

void Sim::restart(size_t unit)
{
    Unit& u = plant_.units[unit];
    uint32_t old_ip = u.ip, new_ip = u.ip;
    if (u.is_wifi()) {
        const std::string* ip = u.wifi_value("IP");
        uint32_t parsed = 0;
        if (ip && parse_ip(*ip, &parsed)) new_ip = parsed ? parsed : u.dhcp_ip;
    } else {
        new_ip = record0_dhcp(u) ? u.dhcp_ip : get_ip(u.records[0], rec::kIp);
    }
    ++u.restarts;
    close_listeners(unit);
    if (new_ip != old_ip) {
        add_address(new_ip, u.net);
        open_udp(new_ip);
        u.ip = new_ip;
        drop_address(old_ip, u.net);
    }
    open_listeners(unit);
    // The state first: whoever sees the journal's line reads the new state.
    write_state();
    journal(unit, "", "", endpoint(u.ip, kXPortPort), "", 0, {}, "restart");
}

void Sim::post(Pending p, int delay_ms)
{
    if (delay_ms <= 0) {
        deliver(p);
        return;
    }
    post_at(std::move(p), now_us() + 1000LL * delay_ms);
}

void Sim::post_at(Pending p, long long due_us)
{
    // Answers due at the same time go out in the order they were posted.
    pending_.emplace(due_us, std::move(p));
}

void Sim::deliver(Pending& p)
{
    if (!p.tcp) {
        auto it = udp_.find(p.from_ip);
        if (it == udp_.end()) return;  // the unit moved away meanwhile
        sendto(it->second.fd, p.bytes.data(), p.bytes.size(), 0, reinterpret_cast<sockaddr*>(&p.to),
               sizeof(sockaddr_in));
        journal(p.unit, "udp", "out", endpoint(p.from_ip, kXPortPort), p.peer, 0, p.bytes, "");
        if (p.repeat_ms > 0) post(p, p.repeat_ms);
        return;
    }
    Conn* c = find_conn(p.conn);
    if (!c || c->fd.fd < 0) return;
    size_t done = 0;
    while (done < p.bytes.size()) {
        ssize_t n = send(c->fd.fd, p.bytes.data() + done, p.bytes.size() - done, MSG_NOSIGNAL);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EAGAIN) {
            pollfd pfd{c->fd.fd, POLLOUT, 0};
            if (poll(&pfd, 1, 1000) > 0) continue;
        }
        break;
    }
    journal(p.unit, "tcp", "out", c->local, c->peer, c->id, p.bytes, "");
    if (p.close_after) hang_up(*c);
}

Sim::Conn* Sim::find_conn(int id)
{
    for (auto& c : conns_)
        if (c->id == id) return c.get();
    return nullptr;
}

void Sim::hang_up(Conn& c)
{
    if (c.fd.fd < 0) return;
    journal(c.unit, "tcp", "", c.local, c.peer, c.id, {}, "hangup");
    c.fd.reset();
}

void Sim::send_tcp(Conn& c, Bytes bytes, bool close_after, const Faults& f, int extra_delay_ms)
{
    if (f.garbage) garble(bytes);
    if (f.truncate >= 0 && bytes.size() > static_cast<size_t>(f.truncate)) {
        bytes.resize(f.truncate);
        close_after = false;  // the rest never comes
    }
    add_extra(bytes, f.extra_bytes, SIZE_MAX);
    // The controller answers one request at a time: an answer never
    // overtakes a late one posted before it on the same connection.
    long long due = now_us() + 1000LL * (f.delay_ms + extra_delay_ms);
    if (due < c.busy_until_us) due = c.busy_until_us;
    std::vector<Bytes> parts = pieces(bytes, f.trickle_ms, f.trickle_bytes);
    for (size_t k = 0; k < parts.size(); ++k) {
        Pending p{};
        p.tcp = true;
        p.unit = c.unit;
        p.conn = c.id;
        p.bytes = std::move(parts[k]);
        p.close_after = close_after && k + 1 == parts.size();
        const long long at = due + 1000LL * f.trickle_ms * static_cast<long long>(k);
        c.busy_until_us = at;
        if (at <= now_us())
            deliver(p);
        else
            post_at(std::move(p), at);
    }
}

void Sim::on_udp(int fd)
{
    for (;;) {
        uint8_t buf[2048];
        sockaddr_in from{};
        char control[256];
        iovec iov{buf, sizeof buf};
        msghdr msg{};
        msg.msg_name = &from;
        msg.msg_namelen = sizeof from;
        msg.msg_iov = &iov;
        msg.msg_iovlen = 1;
        msg.msg_control = control;
        msg.msg_controllen = sizeof control;
        ssize_t n = recvmsg(fd, &msg, 0);
        if (n < 0) return;
        uint32_t dst = 0;
        int ifindex = 0;
        long long arrived_us = 0;
        for (cmsghdr* cm = CMSG_FIRSTHDR(&msg); cm; cm = CMSG_NXTHDR(&msg, cm)) {
            if (cm->cmsg_level == IPPROTO_IP && cm->cmsg_type == IP_PKTINFO) {
                dst = reinterpret_cast<in_pktinfo*>(CMSG_DATA(cm))->ipi_addr.s_addr;
                ifindex = reinterpret_cast<in_pktinfo*>(CMSG_DATA(cm))->ipi_ifindex;
            }
            if (cm->cmsg_level == SOL_SOCKET && cm->cmsg_type == SCM_TIMESTAMPNS) {
                timespec ts{};
                memcpy(&ts, CMSG_DATA(cm), sizeof ts);
                arrived_us = monotonic_from_realtime(ts);
            }
        }
        Bytes d(buf, buf + n);
        std::string peer = endpoint(from);
        for (size_t i = 0; i < plant_.units.size(); ++i) {
            Unit& u = plant_.units[i];
            // A broadcast reaches the units of the network it came in on.
            bool reached = fd == broadcast_.fd ? is_broadcast(dst, u.ip) && on_network(u, ifindex)
                                               : u.ip == dst;
            if (!reached) continue;
            const Faults f = u.faults_for(d);
            DatagramResult r = answer_datagram(u, d, f);
            if (r.changed) write_state();
            journal(i, "udp", "in", endpoint(dst, kXPortPort), peer, 0, d, r.event, arrived_us);
            for (Bytes& reply : r.replies) {
                if (f.udp_garbage) garble(reply);
                if (f.udp_truncate >= 0 && reply.size() > static_cast<size_t>(f.udp_truncate))
                    reply.resize(f.udp_truncate);
                add_extra(reply, f.udp_extra_bytes, kLargestDatagram);
                std::vector<Bytes> parts = pieces(reply, f.udp_trickle_ms, f.udp_trickle_bytes);
                for (size_t k = 0; k < parts.size(); ++k) {
                    Pending p{};
                    p.tcp = false;
                    p.unit = i;
                    p.from_ip = u.ip;
                    p.peer = peer;
                    memcpy(&p.to, &from, sizeof from);
                    p.bytes = std::move(parts[k]);
                    if (r.discovery) p.repeat_ms = u.faults.discovery_repeat_ms;
                    post(std::move(p), f.udp_delay_ms + f.udp_trickle_ms * static_cast<int>(k));
                }
            }
            if (r.restart) restart(i);
        }
    }
}

void Sim::on_accept(Listener& l)
{
    for (;;) {
        sockaddr_in from{};
        socklen_t len = sizeof from;
        int fd = accept4(l.fd.fd, reinterpret_cast<sockaddr*>(&from), &len,
                         SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) return;
        auto c = std::make_unique<Conn>();
        c->fd = UniqueFd(fd);
        c->unit = l.unit;
        c->wifi = l.wifi;
        c->id = next_conn_++;
        c->local = l.local;
        c->peer = endpoint(from);
        journal(c->unit, "tcp", "", c->local, c->peer, c->id, {}, "connect");
        conns_.push_back(std::move(c));
    }
}

bool Sim::ignore_request(Conn& c, const Bytes& req, const Faults& f)
{
    if (!f.tcp_silent && !f.close_early) return false;
    journal(c.unit, "tcp", "in", c.local, c.peer, c.id, req, "ignored");
    if (f.close_early) hang_up(c);
    return true;
}

void Sim::handle_command(Conn& c)
{
    Unit& u = plant_.units[c.unit];
    while (c.fd.fd >= 0) {
        size_t len = 0;
        Frame f = frame_request(c.buf, &len);
        if (f == Frame::Need) return;
        Bytes req(c.buf.begin(), c.buf.begin() + len);
        c.buf.erase(c.buf.begin(), c.buf.begin() + len);
        if (f == Frame::Junk) {
            journal(c.unit, "tcp", "in", c.local, c.peer, c.id, req, "unframed");
            continue;
        }
        const Faults knobs = u.faults_for(req);
        if (ignore_request(c, req, knobs)) continue;
        CommandResult r = answer_command(u, req);
        if (r.changed) write_state();
        journal(c.unit, "tcp", "in", c.local, c.peer, c.id, req, r.event);
        if (knobs.wrong_echo) wrong_echo(r.reply, req);
        const bool uu = req.size() == 2 && req[0] == 'U' && req[1] == 'U';
        if (!r.reply.empty())
            send_tcp(c, std::move(r.reply), false, knobs, uu ? u.faults.uu_delay_ms : 0);
    }
}

void Sim::handle_wifi(Conn& c, bool closing)
{
    Unit& u = plant_.units[c.unit];
    while (c.fd.fd >= 0 && !c.buf.empty()) {
        size_t len = 0;
        WifiFrame f = frame_wifi(c.buf, &len);
        if (f == WifiFrame::Need) {
            if (!closing) return;
            f = WifiFrame::SetText;  // what arrived before the tool closed
            len = c.buf.size();
        }
        Bytes req(c.buf.begin(), c.buf.begin() + len);
        c.buf.erase(c.buf.begin(), c.buf.begin() + len);
        const Faults knobs = u.faults_for(req);
        if (ignore_request(c, req, knobs)) continue;
        const bool set =
            f != WifiFrame::Dump && f != WifiFrame::Version && apply_set_text(u, req) > 0;
        if (set) write_state();
        journal(c.unit, "tcp", "in", c.local, c.peer, c.id, req, "");
        if (f == WifiFrame::Dump) {
            send_tcp(c, wifi_dump(u), !u.faults.dump_stops_after_end, knobs);
        } else if (f == WifiFrame::Version) {
            send_tcp(c, wifi_versions(u), true, knobs);
        } else if (set) {
            restart(c.unit);
        }
    }
}

void Sim::on_conn(Conn& c)
{
    bool closing = false;
    for (;;) {
        uint8_t buf[4096];
        ssize_t n = recv(c.fd.fd, buf, sizeof buf, 0);
        if (n > 0) {
            c.buf.insert(c.buf.end(), buf, buf + n);
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) break;
        closing = true;
        break;
    }
    if (c.wifi)
        handle_wifi(c, closing);
    else
        handle_command(c);
    if (closing && c.fd.fd >= 0) {
        if (!c.buf.empty()) journal(c.unit, "tcp", "in", c.local, c.peer, c.id, c.buf, "unframed");
        journal(c.unit, "tcp", "", c.local, c.peer, c.id, {}, "close");
        c.fd.reset();
    }
}

void Sim::run()
{
    while (!g_stop) {
        if (opt_.parent > 0 && getppid() != opt_.parent) break;
        if (g_dump) {
            g_dump = 0;
            write_state();
        }
        std::vector<pollfd> fds;
        fds.push_back({broadcast_.fd, POLLIN, 0});
        for (auto& [ip, s] : udp_) fds.push_back({s.fd, POLLIN, 0});
        size_t first_listener = fds.size();
        for (auto& l : listeners_) fds.push_back({l->fd.fd, POLLIN, 0});
        size_t first_conn = fds.size();
        for (auto& c : conns_) fds.push_back({c->fd.fd, POLLIN, 0});

        int timeout = kMaxPollMs;
        if (!pending_.empty()) {
            long long wait = (pending_.begin()->first - now_us() + 999) / 1000;
            timeout = static_cast<int>(std::clamp(wait, 0LL, static_cast<long long>(kMaxPollMs)));
        }
        int ready = poll(fds.data(), fds.size(), timeout);

        while (!pending_.empty() && pending_.begin()->first <= now_us()) {
            Pending p = std::move(pending_.begin()->second);
            pending_.erase(pending_.begin());
            deliver(p);
        }
        if (ready <= 0) continue;

        // Handlers may open and close sockets: look each ready one up again by its fd.
        std::vector<int> ready_udp, ready_listen, ready_conn;
        for (size_t i = 0; i < fds.size(); ++i) {
            if (!fds[i].revents) continue;
            if (i < first_listener)
                ready_udp.push_back(fds[i].fd);
            else if (i < first_conn)
                ready_listen.push_back(fds[i].fd);
            else
                ready_conn.push_back(fds[i].fd);
        }
        for (int fd : ready_udp) on_udp(fd);
        for (int fd : ready_listen)
            for (auto& l : listeners_)
                if (l->fd.fd == fd) {
                    on_accept(*l);
                    break;
                }
        for (int fd : ready_conn)
            for (auto& c : conns_)
                if (c->fd.fd == fd) {
                    on_conn(*c);
                    break;
                }
        conns_.erase(std::remove_if(conns_.begin(), conns_.end(),
                                    [](const auto& c) { return c->fd.fd < 0; }),
                     conns_.end());
    }
    write_state();
}

}  // namespace sim
