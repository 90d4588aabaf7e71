// The one rule of an address text, shared by the address entry of the
// forms and every reader of an address the operator typed: four decimal
// parts 0..255 separated by dots, no leading zeros (which some readers take
// for octal), no blanks but the entry's trailing padding.
#pragma once

// 1 when text (trailing blanks ignored) is such a dotted quad, else 0.
int is_dotted_quad(const char* text);
