// The ping check: asks the system's ping command whether some host already
// answers at an address. The command runs from an argument vector, never
// through a shell, so no address text can be read as shell syntax; several
// threads may ping at once.
#pragma once

// The argument vector: ping -q -c 1 -w 2 <addr>, ended by a null.
constexpr int PING_ARGC = 7;
void ping_argv(const char* addr, const char* argv[PING_ARGC + 1]);

// Pings addr once ("sending PING to <addr>" is logged). The command's wait
// status: 0 when a host answered, else non-zero (127 << 8 when the command
// could not run or the text is no address: empty or starting with '-').
int SendPingCmd(const char* addr);
