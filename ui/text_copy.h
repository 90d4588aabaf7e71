// Bounded copying of UTF-8 texts into fixed-size buffers.
#pragma once

#include <cstddef>

// Copies as much of src as fits in dstsize - 1 bytes without ending inside a
// multibyte character, and terminates dst. Returns the bytes copied.
size_t copy_text(char* dst, size_t dstsize, const char* src);
