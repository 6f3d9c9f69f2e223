#pragma once
// The link on ENet (UDP): connections with timeouts, reliable datagrams on channel 0 and
// unsequenced ones on channel 1. ENet speaks IPv4.

#include <map>
#include <stdexcept>
#include <string>

#include "net/Link.h"

struct _ENetHost;
struct _ENetPeer;

namespace kelvane::net {

class LinkError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class EnetLink final : public ILink {
public:
    static constexpr size_t MaxLinkPeers = 8;
    // A peer that answers nothing for this long is gone.
    static constexpr uint32_t SilenceMs = 5000;

    // Listens on host:port ("" any address; port 0 any free port). Throws LinkError,
    // naming the address, when it cannot (the port taken, say).
    EnetLink(const std::string& host, uint16_t port, size_t maxPeers = 2 * MaxLinkPeers);
    ~EnetLink() override;
    EnetLink(const EnetLink&) = delete;
    EnetLink& operator=(const EnetLink&) = delete;

    PeerId Connect(const std::string& address) override;
    void Send(PeerId peer, std::span<const uint8_t> datagram, bool reliable) override;
    void Disconnect(PeerId peer) override;
    bool Poll(LinkEvent& event, uint32_t waitMs) override;
    void Flush() override;
    std::string AddressOf(PeerId peer) const override;
    std::string LocalAddress() const override;
    uint32_t RoundTripMs(PeerId peer) const override;
    // Every byte put on the wire so far, ENet's own headers included (not UDP's and IP's).
    uint64_t BytesSent() const;

private:
    PeerId Register(_ENetPeer* peer);
    _ENetPeer* Find(PeerId peer) const;

    _ENetHost* host_ = nullptr;
    std::map<PeerId, _ENetPeer*> peers_;
    std::map<_ENetPeer*, PeerId> ids_;
    PeerId next_ = 1;
};

}  // namespace kelvane::net
