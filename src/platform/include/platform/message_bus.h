#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pln {

// One message between the processes of one eMule configuration: a
// registered name and the two parameters of a window message.
struct BusMessage {
    std::string name;
    std::uint32_t word = 0;
    std::int64_t value = 0;

    bool operator==(const BusMessage&) const = default;
};

// Broadcast messages among the processes that serve the same eMule
// configuration. A broadcast goes to every other process on the bus and
// never waits for a receiver: a process that does not read its messages
// loses them rather than stopping the sender, and a process that died is
// forgotten at the next broadcast.
class MessageBus {
public:
    virtual ~MessageBus() = default;

    // Failures are not reported; a message that cannot be delivered is lost.
    virtual void broadcast(const BusMessage& message) = 0;
    // A descriptor that becomes readable when messages arrive, for an event
    // loop to watch; -1 when this process cannot receive or when messages
    // come through the event loop's own window messages (Windows).
    virtual int descriptor() const = 0;
    // Waits until messages may have arrived or the time is up, for a program
    // without an event loop; a signal ends the wait early.
    virtual void waitForMessages(int timeoutMs) = 0;
    // Every message that has arrived, oldest first, without waiting. Datagrams
    // that are not well-formed messages are dropped.
    virtual std::vector<BusMessage> receive() = 0;
};

// The bus of the configuration whose names start with messagePrefix.
std::unique_ptr<MessageBus> openNativeMessageBus(const std::string& messagePrefix);

} // namespace pln
