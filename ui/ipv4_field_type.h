// A strict IPv4 entry type for the form library: four decimal parts 0..255
// separated by dots, no leading zeros, no blanks (the field's trailing
// padding aside).
#pragma once

#include <form.h>

#include "base/dotted_quad.h"

// The field type, made on first use and kept for the whole run.
FIELDTYPE* dotted_quad_type();
