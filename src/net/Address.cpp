#include <charconv>

#include "net/Link.h"

namespace kelvane::net {

bool SplitAddress(const std::string& address, uint16_t defaultPort, std::string& host, uint16_t& port) {
    std::string portText;
    if (!address.empty() && address.front() == '[') {
        const size_t close = address.find(']');
        if (close == std::string::npos) return false;
        host = address.substr(1, close - 1);
        if (close + 1 < address.size()) {
            if (address[close + 1] != ':') return false;
            portText = address.substr(close + 2);
            if (portText.empty()) return false;
        }
    } else {
        const size_t colon = address.rfind(':');
        // More than one colon without brackets: a bare IPv6 address, no port.
        if (colon != std::string::npos && address.find(':') == colon) {
            host = address.substr(0, colon);
            portText = address.substr(colon + 1);
            if (portText.empty()) return false;
        } else {
            host = address;
        }
    }
    if (host.empty()) return false;
    if (portText.empty()) {
        port = defaultPort;
        return port != 0;
    }
    unsigned value = 0;
    const auto [end, error] = std::from_chars(portText.data(), portText.data() + portText.size(), value);
    if (error != std::errc() || end != portText.data() + portText.size() || value == 0 || value > 65535) return false;
    port = static_cast<uint16_t>(value);
    return true;
}

std::string JoinAddress(const std::string& host, uint16_t port) {
    if (host.find(':') != std::string::npos) return "[" + host + "]:" + std::to_string(port);
    return host + ":" + std::to_string(port);
}

}  // namespace kelvane::net
