// kivrasim: answers as every unit of a plant file, inside the lab's plant namespace.
//
//   kivrasim --plant FILE --journal FILE --state FILE [--dev IF]... [--parent PID]
//
// Each --dev is one plant network, in order (network 1 first; veth-plant
// when none is given).
//
// It refuses to run anywhere but in a lab's plant namespace: elsewhere it would
// answer discovery broadcasts on a real network.
#include <net/if.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "lab/sim/net.h"

namespace {

// The lab's plant namespace holds only the loopback and the lab's own veth end.
// Anything else (or the namespace of process 1, where that can be seen) is a real
// network, where the simulator must never answer.
bool outside_a_lab(const std::vector<std::string>& devs)
{
    struct stat self {
    }, init{};
    if (stat("/proc/self/ns/net", &self) == 0 && stat("/proc/1/ns/net", &init) == 0 &&
        self.st_ino == init.st_ino && self.st_dev == init.st_dev)
        return true;
    struct if_nameindex* names = if_nameindex();
    if (!names) return true;
    size_t has_devs = 0;
    bool foreign = false;
    for (struct if_nameindex* i = names; i->if_index != 0; ++i) {
        bool ours = false;
        for (const std::string& dev : devs) ours = ours || dev == i->if_name;
        if (ours)
            has_devs++;
        else if (strcmp(i->if_name, "lo") != 0)
            foreign = true;
    }
    if_freenameindex(names);
    return foreign || has_devs != devs.size();
}

void on_stop(int) { sim::Sim::stop(); }
void on_dump(int) { sim::Sim::dump_state_request(); }

int usage()
{
    fprintf(stderr,
            "usage: kivrasim --plant FILE --journal FILE --state FILE [--dev IF]... [--parent "
            "PID]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    sim::Options opt;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (i + 1 >= argc) return usage();
        std::string v = argv[++i];
        if (a == "--plant")
            opt.plant_path = v;
        else if (a == "--journal")
            opt.journal_path = v;
        else if (a == "--state")
            opt.state_path = v;
        else if (a == "--dev")
            opt.devs.push_back(v);
        else if (a == "--parent")
            opt.parent = static_cast<pid_t>(atoi(v.c_str()));
        else
            return usage();
    }
    if (opt.plant_path.empty() || opt.journal_path.empty() || opt.state_path.empty())
        return usage();

    if (opt.devs.empty()) opt.devs.push_back("veth-plant");
    if (outside_a_lab(opt.devs)) {
        fprintf(stderr,
                "kivrasim: refusing to run in the root network namespace; run it in a lab\n");
        return 3;
    }

    std::ifstream in(opt.plant_path);
    if (!in) {
        fprintf(stderr, "kivrasim: cannot read %s\n", opt.plant_path.c_str());
        return 2;
    }
    std::stringstream text;
    text << in.rdbuf();
    sim::Plant plant;
    std::string error;
    if (!sim::load_plant(text.str(), &plant, &error)) {
        fprintf(stderr, "kivrasim: %s: %s\n", opt.plant_path.c_str(), error.c_str());
        return 2;
    }

    // Three sockets per unit and its connections.
    rlimit lim{};
    if (getrlimit(RLIMIT_NOFILE, &lim) == 0) {
        lim.rlim_cur = lim.rlim_max;
        setrlimit(RLIMIT_NOFILE, &lim);
    }
    struct sigaction sa {};
    sa.sa_handler = on_stop;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
    sa.sa_handler = on_dump;
    sigaction(SIGUSR1, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);

    sim::Journal journal(opt.journal_path);
    if (!journal.ok()) {
        fprintf(stderr, "kivrasim: cannot write %s\n", opt.journal_path.c_str());
        return 2;
    }
    sim::Sim s(std::move(plant), journal, opt);
    if (!s.start()) return 1;
    s.run();
    return 0;
}
