#include "net/HostAddresses.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <unistd.h>

#include <algorithm>
#include <array>

#include "net/Link.h"

namespace kelvane::net {

std::vector<std::string> InterfaceAddresses() {
    std::vector<std::string> addresses;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return addresses;
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET) continue;
        if ((entry->ifa_flags & IFF_UP) == 0 || (entry->ifa_flags & IFF_LOOPBACK) != 0) continue;
        std::array<char, INET_ADDRSTRLEN> text{};
        const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
        if (!inet_ntop(AF_INET, &address->sin_addr, text.data(), text.size())) continue;
        const std::string spelled(text.data());
        if (std::find(addresses.begin(), addresses.end(), spelled) == addresses.end()) addresses.push_back(spelled);
    }
    freeifaddrs(list);
    return addresses;
}

std::string MachineName() {
    std::array<char, 256> name{};
    if (gethostname(name.data(), name.size() - 1) != 0) return {};
    return std::string(name.data());
}

std::string HostingLine(const std::vector<std::string>& addresses, const std::string& machine, uint16_t port) {
    // More than three would not fit on the line; the first are the likely ones.
    constexpr size_t Shown = 3;
    std::string line = "hosting on ";
    if (addresses.empty()) return line + (machine.empty() ? "port " + std::to_string(port) : JoinAddress(machine, port));
    for (size_t i = 0; i < addresses.size() && i < Shown; ++i) line += (i ? ", " : "") + JoinAddress(addresses[i], port);
    if (!machine.empty()) line += " (" + machine + ")";
    return line;
}

}  // namespace kelvane::net
