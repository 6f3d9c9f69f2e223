#pragma once
// What a host tells the people who are to join it: the addresses this machine is reached
// at (its network interfaces, IPv4, the loopback left out) and its name.

#include <cstdint>
#include <string>
#include <vector>

namespace kelvane::net {

// The machine's IPv4 addresses on interfaces that are up, loopback left out, in the
// order the system lists them, each once.
std::vector<std::string> InterfaceAddresses();
// This machine's host name ("" when it has none).
std::string MachineName();

// "hosting on 192.168.1.5:26524, 10.0.0.7:26524 (myhost)": the addresses with the port,
// at most three of them, and the machine's name; only the name and port when no address
// is known ("hosting on myhost:26524"), and "hosting on port 26524" with neither.
std::string HostingLine(const std::vector<std::string>& addresses, const std::string& machine, uint16_t port);

}  // namespace kelvane::net
