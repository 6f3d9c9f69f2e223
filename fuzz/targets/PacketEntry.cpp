// The network game's decoder on any datagram from anyone: it never throws, and a message
// it accepts encodes and decodes back to the same message.

#include "FuzzSupport.h"
#include "net/Packets.h"

namespace kelvane::fuzz {

void FuzzPacket(const uint8_t* data, size_t size) {
    const std::optional<net::Message> message = net::Decode(std::span<const uint8_t>(data, size));
    if (!message) return;  // not a message of this protocol: dropped
    Check(message->index() < std::variant_size_v<net::Message>, "a message of no kind");
    const std::vector<uint8_t> encoded = net::Encode(*message);
    const std::optional<net::Message> again = net::Decode(encoded);
    Check(again.has_value(), "an accepted message that does not decode once encoded again");
    Check(*again == *message, "an accepted message that encodes to another message");
    Check(net::Encode(*again) == encoded, "a message that encodes in two ways");
}

}  // namespace kelvane::fuzz
