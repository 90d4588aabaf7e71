// Named byte ranges of the XPort's setup record images. Every screen reads
// and writes record bytes through these fields, so each offset is written
// down once. Offsets count from the start of the image, the 4-byte reply
// header included; a field never reaches past its room.
#pragma once

#include <netinet/in.h>
#include <cstddef>
#include <cstdint>

enum class FieldKind {
    Byte,  // one byte
    Le16,  // unsigned 16-bit little-endian
    Ipv4,  // four bytes in network order
    Text,  // zero-terminated text that never runs past its room
};

struct RecordField {
    int record;  // setup record number (0, 1, 3..7)
    int offset;  // first byte in the image
    FieldKind kind;
    int room;  // bytes the field may use, a text's terminator included
};

namespace rec {
// Record 0: network settings and connection 1 (and connection 2 of "GC" firmware).
constexpr RecordField ip{0, 4, FieldKind::Ipv4, 4};  // static address; bytes 4, 5, 7 zero: DHCP
constexpr RecordField host_bits{0, 10, FieldKind::Byte, 1};  // subnet mask as host bits
constexpr RecordField gateway{0, 16, FieldKind::Ipv4, 4};
constexpr RecordField cmd_port{0, 24, FieldKind::Le16,
                               2};                        // connection 1 own port, the command port
constexpr RecordField dport1{0, 26, FieldKind::Le16, 2};  // connection 1 destination port
constexpr RecordField dest1_ip{0, 28, FieldKind::Ipv4,
                               4};                        // connection 1 destination (plain XPort)
constexpr RecordField mode1{0, 32, FieldKind::Byte, 1};   // connection 1 mode byte
constexpr RecordField port2{0, 72, FieldKind::Le16, 2};   // connection 2 own port
constexpr RecordField dport2{0, 74, FieldKind::Le16, 2};  // connection 2 destination port
constexpr RecordField mode2{0, 80, FieldKind::Byte, 1};   // connection 2 mode byte
// Record 1: SMTP-AUTH credentials ("GC" firmware; built from zeros, never read).
constexpr RecordField auth_pass{1, 70, FieldKind::Text, 14};  // bytes 70..83
constexpr RecordField auth_user{1, 85, FieldKind::Text, 45};  // bytes 85..129
// Record 3: mail port and connections 3,4.
constexpr RecordField smtp_port{3, 116, FieldKind::Le16, 2};
constexpr RecordField port3{3, 126, FieldKind::Le16, 2};  // connections 3,4 own port
constexpr RecordField mode3{3, 128, FieldKind::Byte, 1};  // connections 3,4 mode byte
// Record 4: mail server by name ("GC" firmware).
constexpr RecordField mail_host{4, 79, FieldKind::Text, 51};  // bytes 79..129
// Record 5: mail server address, recipients, sender's user part.
constexpr RecordField smtp_ip{5, 4, FieldKind::Ipv4, 4};       // first octet in byte 4
constexpr RecordField mail_to1{5, 8, FieldKind::Text, 49};     // bytes 8..56
constexpr RecordField mail_to2{5, 57, FieldKind::Text, 49};    // bytes 57..105
constexpr RecordField from_user{5, 106, FieldKind::Text, 24};  // bytes 106..129
// Record 6: sender's domain, subjects and the digital-input mail triggers.
constexpr RecordField from_domain{6, 4, FieldKind::Text, 24};  // bytes 4..27
constexpr RecordField di_enable_a{6, 28, FieldKind::Byte,
                                  1};  // mail enabled (first input or any input)
constexpr RecordField di_logic_a{6, 29, FieldKind::Byte,
                                 1};                        // mail on ON (first input or any input)
constexpr RecordField subject{6, 33, FieldKind::Text, 29};  // bytes 33..61
constexpr RecordField di_enable_b{6, 62, FieldKind::Byte, 1};  // second input of a two-input unit
constexpr RecordField di_logic_b{6, 63, FieldKind::Byte, 1};
constexpr RecordField subject2{6, 67, FieldKind::Text, 63};  // bytes 67..129
// Record 7: mail trigger bytes and the destinations of "GC" firmware.
constexpr RecordField trigger_a{7, 4, FieldKind::Byte, 1};
constexpr RecordField trigger_b{7, 5, FieldKind::Byte, 1};
constexpr RecordField dest1_text{7, 21, FieldKind::Text, 51};  // bytes 21..71
constexpr RecordField dest2_text{7, 72, FieldKind::Text, 58};  // bytes 72..129
}  // namespace rec

// Image length of a record: 124 bytes for record 0, 130 for the others.
int record_length(int record);
// True when the field lies inside an image of `len` bytes.
bool field_fits(const RecordField& f, int len);

// Readers and writers. An image is the whole record, header included, of
// record_length(f.record) bytes; a field outside it reads as zero and is
// never written.
int get_byte(const uint8_t* image, const RecordField& f);
void put_byte(uint8_t* image, const RecordField& f, int value);
int get_le16(const uint8_t* image, const RecordField& f);
void put_le16(uint8_t* image, const RecordField& f, int value);  // low 16 bits
in_addr_t get_ipv4(const uint8_t* image, const RecordField& f);  // network order
void put_ipv4(uint8_t* image, const RecordField& f, in_addr_t ip);
// The text of a text field into out (outsize bytes): it ends at its zero
// byte or, when the unit left none, at the end of its room; it is cut at a
// character boundary when out is smaller. Returns its length.
size_t get_text(const uint8_t* image, const RecordField& f, char* out, size_t outsize);
// Writes text and one zero byte; the bytes after the terminator keep what
// they held. A text longer than the room is cut at a character boundary so
// that its terminator still fits. Returns the bytes of text written.
size_t put_text(uint8_t* image, const RecordField& f, const char* text);

// ---- record 0 ----
// Network settings as a unit's record 0 holds them: a unit whose bytes 4,
// 5 and 7 are all zero takes its address by DHCP and gets the class mask of
// its current address; otherwise the record's address, mask and gateway.
struct UnitNetwork {
    int dhcp;
    in_addr_t addr;     // network order
    in_addr_t netmask;  // network order
    in_addr_t gateway;  // network order
};
UnitNetwork derive_unit_network(const uint8_t* setup0, in_addr_t current);

// Record 0 as the IP screen writes it back: the image as read with the
// write header in bytes 0..3 and, for a static address, the address, the
// mask's host-bit count and the gateway (all zero for DHCP). 0, or -1 when
// the mask's one bits are not contiguous (out is then unusable).
int build_record0_write(const uint8_t* setup0, int dhcp_on, in_addr_t addr, in_addr_t mask,
                        in_addr_t gw, uint8_t* out);
