// One WiFi unit's parameters, as a dump text, as the simulator's plant
// keys, and as the entry they must give.
#pragma once

#include "device/KIVRAXPort.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

namespace devtest {

inline const char kExampleDump[] =
    "IP\r\n192.0.2.40\r\nSUBM\r\n255.255.0.0\r\nGWAY\r\n192.0.2.254\r\nPORT\r\n8000\r\n"
    "MHOST\r\nmail.example.net\r\nMPORT\r\n587\r\nMUSER\r\nalice\r\nMPASS\r\nsecret\r\n"
    "MFROM\r\nunit@example.net\r\nMTO1\r\nops@example.net\r\nMTO2\r\n\r\nMSUBJ\r\nAlarm\r\n"
    "HIP\r\n192.0.2.9\r\nHPORT\r\n10005\r\nEXTRA\r\nx\r\nEND\r\n\r\n";

inline const char kExamplePlantKeys[] =
    R"("cmd_port":8000,"mask":"255.255.0.0","gateway":"192.0.2.254",)"
    R"("wifi":{"MHOST":"mail.example.net","MPORT":"587","MUSER":"alice","MPASS":"secret",)"
    R"("MFROM":"unit@example.net","MTO1":"ops@example.net","MTO2":"","MSUBJ":"Alarm",)"
    R"("HIP":"192.0.2.9","HPORT":"10005"})";

inline void expect_example_entry(const DeviceEntry& e)
{
    EXPECT_EQ(e.netmask, inet_addr("255.255.0.0"));
    EXPECT_EQ(e.gateway, inet_addr("192.0.2.254"));
    EXPECT_EQ(e.esp_port, 8000);
    EXPECT_STREQ(e.mhost, "mail.example.net");
    EXPECT_EQ(e.mport, 587);
    EXPECT_STREQ(e.muser, "alice");
    EXPECT_STREQ(e.mpass, "secret");
    EXPECT_STREQ(e.mfrom, "unit@example.net");
    EXPECT_STREQ(e.mto1, "ops@example.net");
    EXPECT_STREQ(e.mto2, "");
    EXPECT_STREQ(e.msubj, "Alarm");
    EXPECT_STREQ(e.hip, "192.0.2.9");
    EXPECT_EQ(e.hport, 10005);
}

}  // namespace devtest
