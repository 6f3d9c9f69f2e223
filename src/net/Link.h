#pragma once
// The narrow face of the network: connections to peers by address, datagrams sent
// reliably (in order, resent until they arrive) or not, and what arrives. ENet stands
// behind it in the game (EnetLink); tests put an in-memory link in its place, and the
// runner a link conditioner (delay, jitter, loss) around the real one.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelvane::net {

using PeerId = uint32_t;  // 0 names no peer

enum class LinkEventKind : uint8_t {
    Connected,     // a connection is up (one we asked for, or one that came in)
    Received,      // a datagram from the peer
    Disconnected,  // the peer is gone (it left, or stopped answering)
};

struct LinkEvent {
    LinkEventKind Kind = LinkEventKind::Received;
    PeerId Peer = 0;
    std::vector<uint8_t> Data;
};

class ILink {
public:
    virtual ~ILink() = default;
    // Starts connecting to "HOST:PORT"; a Connected (or Disconnected) event follows.
    // 0 when the address cannot be used at all.
    virtual PeerId Connect(const std::string& address) = 0;
    virtual void Send(PeerId peer, std::span<const uint8_t> datagram, bool reliable) = 0;
    // Sends what is queued for the peer, then lets it go; no event follows.
    virtual void Disconnect(PeerId peer) = 0;
    // The next event, waiting at most waitMs for one; false when none came.
    virtual bool Poll(LinkEvent& event, uint32_t waitMs) = 0;
    // Puts everything sent so far on the wire.
    virtual void Flush() = 0;
    // Where the peer is reached, "HOST:PORT"; where this link listens ("" before it does).
    virtual std::string AddressOf(PeerId peer) const = 0;
    virtual std::string LocalAddress() const = 0;
    // The peer's round-trip time as the link measures it (0 when unknown).
    virtual uint32_t RoundTripMs(PeerId peer) const = 0;
};

// "HOST:PORT", "[v6]:PORT", or "HOST" with the default port: host and port apart.
// False for an empty host or a port outside 1..65535.
bool SplitAddress(const std::string& address, uint16_t defaultPort, std::string& host, uint16_t& port);
std::string JoinAddress(const std::string& host, uint16_t port);

}  // namespace kelvane::net
