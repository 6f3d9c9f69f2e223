// What the host shows others to join it: its addresses with the port, and its name.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "net/HostAddresses.h"

namespace kelvane::net {
namespace {

TEST(HostAddresses, TheHostingLineNamesWhereToJoin) {
    struct Row {
        std::vector<std::string> Addresses;
        std::string Machine;
        std::string Line;
    };
    for (const Row& row : std::vector<Row>{
             {{"192.168.1.5"}, "deck", "hosting on 192.168.1.5:26524 (deck)"},
             {{"192.168.1.5", "10.0.0.7"}, "", "hosting on 192.168.1.5:26524, 10.0.0.7:26524"},
             // Only three fit on the line.
             {{"10.0.0.1", "10.0.0.2", "10.0.0.3", "10.0.0.4"}, "deck",
              "hosting on 10.0.0.1:26524, 10.0.0.2:26524, 10.0.0.3:26524 (deck)"},
             {{}, "deck", "hosting on deck:26524"},
             {{}, "", "hosting on port 26524"},
         }) {
        EXPECT_EQ(HostingLine(row.Addresses, row.Machine, 26524), row.Line);
    }
}

TEST(HostAddresses, TheMachinesOwnAddressesLeaveLoopbackOut) {
    const std::vector<std::string> addresses = InterfaceAddresses();
    for (const std::string& address : addresses) {
        EXPECT_NE(address.rfind("127.", 0), 0u) << address;
        EXPECT_EQ(std::count(address.begin(), address.end(), '.'), 3) << address;
    }
}

}  // namespace
}  // namespace kelvane::net
