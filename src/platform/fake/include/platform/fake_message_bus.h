#pragma once

#include "platform/message_bus.h"

#include <utility>
#include <vector>

namespace pln {

// A bus for tests: broadcasts are recorded, and the messages the test puts
// in the inbox are what receive hands out. Nothing wakes an event loop, so
// the test delivers them itself.
struct FakeMessageBus : MessageBus {
    std::vector<BusMessage> sent;
    std::vector<BusMessage> inbox;

    void broadcast(const BusMessage& message) override { sent.push_back(message); }
    int descriptor() const override { return -1; }
    void waitForMessages(int) override {}
    std::vector<BusMessage> receive() override { return std::exchange(inbox, {}); }
};

} // namespace pln
