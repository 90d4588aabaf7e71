// The controller settings of the input extension screen that are not
// parameter bytes: one byte of controller memory ("MR"/"MW", models 9 and
// 11) and the periodic notice of models 8 and 10 ("AJ"/"AS").
#pragma once

#include <cstdint>

constexpr int MEM_NOTICE = 0x0401;   // periodic notice in the high nibble
constexpr int MEM_CHATTER = 0x0421;  // chattering time in ms

constexpr int NOTICE_QUERY_LEN = 4;  // "AJ", 0x20, 0xC8
constexpr int NOTICE_REPLY_LEN = 6;
constexpr int NOTICE_SET_LEN = 4;  // "AS", code + 0x20, 0xC8

// Pure builders and parsers.
void BuildNoticeQuery(uint8_t out[NOTICE_QUERY_LEN]);
void BuildNoticeSet(int code, uint8_t out[NOTICE_SET_LEN]);
// The notice code of an "AJ" reply: the low nibble of byte 4.
int ParseNoticeReply(const uint8_t reply[NOTICE_REPLY_LEN]);

// Exchanges with unit `index` at its command port; 0, or -1 when the
// exchange failed. A read whose data digits are not hexadecimal fails and
// stores nothing.
int GetMemoryByte(int index, int address, int* value);
int SetMemoryByte(int index, int address, int value);  // low 8 bits; the reply is not examined
int GetNoticeA(int index, int* code);
int SetNoticeA(int index, int code);  // the reply is not examined
