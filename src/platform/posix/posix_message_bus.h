#pragma once

#include "platform/message_bus.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pln {

// The bus on a POSIX system: every process binds one Unix datagram socket in
// a folder of its own user, named after the configuration, and a broadcast
// sends one datagram to every other socket there. A socket nobody listens on
// any more belongs to a process that died and is removed.
class PosixMessageBus : public MessageBus {
public:
    // The folder is created when missing; it must belong to this user and be
    // closed to others, or this process neither sends nor receives.
    explicit PosixMessageBus(std::string folder);
    ~PosixMessageBus() override;
    PosixMessageBus(const PosixMessageBus&) = delete;
    PosixMessageBus& operator=(const PosixMessageBus&) = delete;

    void broadcast(const BusMessage& message) override;
    int descriptor() const override { return bound_ ? fd_ : -1; }
    void waitForMessages(int timeoutMs) override;
    std::vector<BusMessage> receive() override;

private:
    std::string folder_;
    std::string ownPath_;
    int fd_ = -1;
    bool usable_ = false;
    bool bound_ = false;
};

// The folder of a configuration's bus: under $XDG_RUNTIME_DIR, or a private
// folder in /tmp, with a name derived from the prefix so that it stays short.
std::string messageBusFolder(const std::string& messagePrefix);

// A datagram is "PLNB", format byte 1, the word (32 bits), the value (64
// bits), the name's length (16 bits) and the name, little-endian, and
// nothing after it.
inline constexpr std::size_t longestBusName = 1024;
std::vector<std::uint8_t> encodeBusDatagram(const BusMessage& message);
// Empty for anything that is not exactly one well-formed datagram.
std::optional<BusMessage> decodeBusDatagram(std::span<const std::uint8_t> bytes);

} // namespace pln
