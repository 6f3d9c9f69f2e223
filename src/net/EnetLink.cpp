#include "net/EnetLink.h"

#include <enet/enet.h>

namespace kelvane::net {
namespace {

constexpr enet_uint8 ReliableChannel = 0;
constexpr enet_uint8 UnreliableChannel = 1;

// ENet is set up once for the whole program.
bool EnetReady() {
    static const bool ready = [] {
        if (enet_initialize() != 0) return false;
        std::atexit(enet_deinitialize);
        return true;
    }();
    return ready;
}

std::string Text(const ENetAddress& address) {
    char ip[64] = {};
    if (enet_address_get_host_ip(&address, ip, sizeof ip) != 0) return {};
    return JoinAddress(ip, address.port);
}

}  // namespace

EnetLink::EnetLink(const std::string& host, uint16_t port, size_t maxPeers) {
    const std::string where = JoinAddress(host.empty() ? "*" : host, port);
    if (!EnetReady()) throw LinkError("the network library cannot start");
    ENetAddress address{};
    address.host = ENET_HOST_ANY;
    if (!host.empty() && enet_address_set_host(&address, host.c_str()) != 0)
        throw LinkError("cannot listen on " + where + ": unknown address");
    address.port = port;
    host_ = enet_host_create(&address, maxPeers, 2, 0, 0);
    if (!host_) throw LinkError("cannot listen on UDP " + where + " (is the port in use?)");
}

EnetLink::~EnetLink() {
    if (!host_) return;
    for (const auto& [id, peer] : peers_) enet_peer_disconnect_now(peer, 0);
    enet_host_flush(host_);
    enet_host_destroy(host_);
}

PeerId EnetLink::Register(ENetPeer* peer) {
    const auto known = ids_.find(peer);
    if (known != ids_.end()) return known->second;
    const PeerId id = next_++;
    peers_[id] = peer;
    ids_[peer] = id;
    enet_peer_timeout(peer, ENET_PEER_TIMEOUT_LIMIT, SilenceMs, SilenceMs);
    return id;
}

ENetPeer* EnetLink::Find(PeerId peer) const {
    const auto found = peers_.find(peer);
    return found == peers_.end() ? nullptr : found->second;
}

PeerId EnetLink::Connect(const std::string& address) {
    std::string host;
    uint16_t port = 0;
    if (!SplitAddress(address, 0, host, port)) return 0;
    ENetAddress target{};
    if (enet_address_set_host(&target, host.c_str()) != 0) return 0;
    target.port = port;
    ENetPeer* peer = enet_host_connect(host_, &target, 2, 0);
    return peer ? Register(peer) : 0;
}

void EnetLink::Send(PeerId peer, std::span<const uint8_t> datagram, bool reliable) {
    ENetPeer* target = Find(peer);
    if (!target) return;
    ENetPacket* packet = enet_packet_create(datagram.data(), datagram.size(),
                                            reliable ? ENET_PACKET_FLAG_RELIABLE : ENET_PACKET_FLAG_UNSEQUENCED);
    if (packet && enet_peer_send(target, reliable ? ReliableChannel : UnreliableChannel, packet) != 0)
        enet_packet_destroy(packet);
}

void EnetLink::Disconnect(PeerId peer) {
    ENetPeer* target = Find(peer);
    if (!target) return;
    enet_peer_disconnect_later(target, 0);
    peers_.erase(peer);
    ids_.erase(target);
}

bool EnetLink::Poll(LinkEvent& event, uint32_t waitMs) {
    ENetEvent got{};
    for (;;) {
        const int result = enet_host_service(host_, &got, waitMs);
        if (result <= 0) return false;
        waitMs = 0;
        switch (got.type) {
            case ENET_EVENT_TYPE_CONNECT:
                event = LinkEvent{LinkEventKind::Connected, Register(got.peer), {}};
                return true;
            case ENET_EVENT_TYPE_RECEIVE: {
                const auto known = ids_.find(got.peer);
                if (known == ids_.end()) {
                    enet_packet_destroy(got.packet);
                    continue;
                }
                event = LinkEvent{LinkEventKind::Received, known->second,
                                  std::vector<uint8_t>(got.packet->data, got.packet->data + got.packet->dataLength)};
                enet_packet_destroy(got.packet);
                return true;
            }
            case ENET_EVENT_TYPE_DISCONNECT: {
                const auto known = ids_.find(got.peer);
                if (known == ids_.end()) continue;  // one we let go ourselves
                event = LinkEvent{LinkEventKind::Disconnected, known->second, {}};
                peers_.erase(known->second);
                ids_.erase(known);
                return true;
            }
            default:
                continue;
        }
    }
}

void EnetLink::Flush() { enet_host_flush(host_); }

std::string EnetLink::AddressOf(PeerId peer) const {
    const ENetPeer* target = Find(peer);
    return target ? Text(target->address) : std::string();
}

std::string EnetLink::LocalAddress() const {
    ENetAddress address{};
    if (enet_socket_get_address(host_->socket, &address) != 0) return {};
    return Text(address);
}

uint64_t EnetLink::BytesSent() const { return host_->totalSentData; }

uint32_t EnetLink::RoundTripMs(PeerId peer) const {
    const ENetPeer* target = Find(peer);
    return target ? target->roundTripTime : 0;
}

}  // namespace kelvane::net
