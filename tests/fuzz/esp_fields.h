// The WiFi fields of a device entry that the dump and set replies fill, for
// the targets that check nothing else of the entry changes.
#pragma once

#include "device/KIVRAXPort.h"

#include <cstddef>
#include <cstring>

struct EspField {
    const char* key;
    size_t offset;
    size_t size;
};

#define ESP_FIELD(key, member) {key, offsetof(DeviceEntry, member), sizeof(DeviceEntry::member)}
inline const EspField esp_fields[] = {
    ESP_FIELD("SUBM", netmask), ESP_FIELD("GWAY", gateway), ESP_FIELD("PORT", esp_port),
    ESP_FIELD("MHOST", mhost),  ESP_FIELD("MPORT", mport),  ESP_FIELD("MUSER", muser),
    ESP_FIELD("MPASS", mpass),  ESP_FIELD("MFROM", mfrom),  ESP_FIELD("MTO1", mto1),
    ESP_FIELD("MTO2", mto2),    ESP_FIELD("MSUBJ", msubj),  ESP_FIELD("HIP", hip),
    ESP_FIELD("HPORT", hport),
};
#undef ESP_FIELD

// Copies the dump's fields of `from` into `to`, so that what is left to
// compare is everything else of the entry.
inline void copy_esp_fields(DeviceEntry* to, const DeviceEntry* from)
{
    for (const EspField& f : esp_fields)
        std::memcpy(reinterpret_cast<char*>(to) + f.offset, reinterpret_cast<const char*>(from) + f.offset,
                    f.size);
}

// Every text field of the entry ends inside its room.
inline bool esp_texts_terminated(const DeviceEntry* e)
{
    for (const EspField& f : esp_fields)
        if (f.size > sizeof(int) &&
            memchr(reinterpret_cast<const char*>(e) + f.offset, 0, f.size) == nullptr)
            return false;
    return true;
}
