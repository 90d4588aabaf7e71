#include "ui/ipv4_field_type.h"

namespace {

bool check_quad_field(FIELD* field, const void*)
{
    return is_dotted_quad(field_buffer(field, 0)) == 1;
}

bool check_quad_char(int c, const void*)
{
    return (c >= '0' && c <= '9') || c == '.';
}

}  // namespace

FIELDTYPE* dotted_quad_type()
{
    static FIELDTYPE* type = new_fieldtype(check_quad_field, check_quad_char);
    return type;
}
