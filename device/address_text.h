// Addresses as texts: what an operator types or a unit's address is shown
// as, and the address in network order that goes into records and requests.
#pragma once

#include <netinet/in.h>

// A dotted address of four decimal numbers 0..255 without leading zeros
// (which some readers take for octal), nothing before or after it. 1 and
// *out in network order (when out is given), or 0 for any other text.
int parse_dotted_quad(const char* text, in_addr_t* out);
// Writes an address in network order as dotted decimal into out (16 bytes);
// the text parses back to the same address.
void format_dotted(in_addr_t ip, char out[16]);
