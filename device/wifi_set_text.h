// The texts that set a WiFi module's keys: "KEY\r\nvalue\r\n" for every key,
// then "END\r\n", sent whole with Set_ESP_Parameter. Every text the program
// sends to a module is built here. A value holding a CR or LF would end its
// line early and start a key of its own, so no text is built with one: the
// caller learns it before anything is sent.
#pragma once

#include <netinet/in.h>

#include <cstddef>

// Results of the builders besides a text's length.
constexpr int WIFI_TEXT_TOO_LONG = -1;    // the text does not fit the buffer
constexpr int WIFI_TEXT_LINE_BREAK = -2;  // a value holds a CR or LF

// One key of a set text and its value: a text, or `number` when text is null.
struct WifiPair {
    const char* key;
    const char* text;
    int number;
};

// True when a text can be a value of a set text (no CR, no LF).
bool wifi_value_ok(const char* text);

// The set text of the pairs in order, "END" after them, into out (size
// bytes, its terminator included). Its length, or one of the results above;
// out holds nothing to send then.
int build_wifi_set_text(const WifiPair* pairs, int count, char* out, size_t size);

// The IP address settings: "IP", "SUBM", "GWAY" as dotted addresses.
int build_wifi_ip_text(in_addr_t addr, in_addr_t mask, in_addr_t gw, char* out, size_t size);
// The input extension: "PORT" (the command port), "HIP" and "HPORT" (the
// host the module connects to).
int build_wifi_extend_text(int port, const char* hip, int hport, char* out, size_t size);

// The mail keys, in the order of their text.
struct WifiMailKeys {
    const char* host;  // MHOST
    int port;          // MPORT
    const char* user;  // MUSER
    const char* pass;  // MPASS
    const char* from;  // MFROM
    const char* to1;   // MTO1
    const char* to2;   // MTO2
    const char* subj;  // MSUBJ
};
int build_wifi_mail_text(const WifiMailKeys& keys, char* out, size_t size);
