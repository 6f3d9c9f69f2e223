#pragma once
// Links that meet in memory instead of on the network: a datagram sent is in the other
// link's queue at once. Unreliable datagrams may be lost on purpose, and a link may be
// cut (its peers hear nothing more from it, as from a machine switched off).

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>

#include "net/Link.h"

namespace kelvane::testing {

class MemoryLink;

class MemoryHub {
public:
    void Add(const std::string& address, MemoryLink* link) { links_[address] = link; }
    void Remove(const std::string& address) { links_.erase(address); }
    MemoryLink* Find(const std::string& address) const {
        const auto found = links_.find(address);
        return found == links_.end() ? nullptr : found->second;
    }

private:
    std::map<std::string, MemoryLink*> links_;
};

class MemoryLink final : public net::ILink {
public:
    MemoryLink(MemoryHub& hub, std::string address) : hub_(hub), address_(std::move(address)) { hub_.Add(address_, this); }
    ~MemoryLink() override { hub_.Remove(address_); }

    net::PeerId Connect(const std::string& address) override {
        MemoryLink* target = hub_.Find(address);
        if (!target || target == this || cut_) return 0;
        const net::PeerId mine = next_++;
        const net::PeerId theirs = target->next_++;
        peers_[mine] = {target, theirs};
        target->peers_[theirs] = {this, mine};
        events_.push_back({net::LinkEventKind::Connected, mine, {}});
        target->events_.push_back({net::LinkEventKind::Connected, theirs, {}});
        return mine;
    }
    void Send(net::PeerId peer, std::span<const uint8_t> datagram, bool reliable) override {
        const auto found = peers_.find(peer);
        if (found == peers_.end() || cut_) return;
        if (!reliable && Loses && Loses()) return;
        const auto [target, theirs] = found->second;
        target->events_.push_back({net::LinkEventKind::Received, theirs, {datagram.begin(), datagram.end()}});
    }
    void Disconnect(net::PeerId peer) override {
        const auto found = peers_.find(peer);
        if (found == peers_.end()) return;
        const auto [target, theirs] = found->second;
        target->events_.push_back({net::LinkEventKind::Disconnected, theirs, {}});
        target->peers_.erase(theirs);
        peers_.erase(found);
    }
    bool Poll(net::LinkEvent& event, uint32_t) override {
        if (events_.empty() || cut_) return false;
        event = std::move(events_.front());
        events_.pop_front();
        return true;
    }
    void Flush() override {}
    std::string AddressOf(net::PeerId peer) const override {
        const auto found = peers_.find(peer);
        return found == peers_.end() ? std::string() : found->second.first->address_;
    }
    std::string LocalAddress() const override { return address_; }
    uint32_t RoundTripMs(net::PeerId) const override { return 0; }

    // From now on nothing goes out or comes in: the machine is gone without a word.
    void Cut() { cut_ = true; }
    // Decides for each unreliable datagram whether it is lost.
    std::function<bool()> Loses;

private:
    MemoryHub& hub_;
    std::string address_;
    net::PeerId next_ = 1;
    std::map<net::PeerId, std::pair<MemoryLink*, net::PeerId>> peers_;
    std::deque<net::LinkEvent> events_;
    bool cut_ = false;
};

}  // namespace kelvane::testing
