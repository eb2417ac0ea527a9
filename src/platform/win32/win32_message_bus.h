#pragma once

#include "platform/message_bus.h"

#include <windows.h>

namespace pln {

// The bus on Windows: registered window messages broadcast to every
// top-level window, received by a hidden top-level window of this process
// (a message-only window never sees broadcasts). A received message's name
// comes back from its registered id; names outside the configuration's
// prefix belong to other programs and are dropped. The event loop of the
// thread that made the bus delivers to the window; receive() also takes
// what waits in the queue, for programs without an event loop.
class Win32MessageBus : public MessageBus {
public:
    explicit Win32MessageBus(std::string messagePrefix);
    ~Win32MessageBus() override;
    Win32MessageBus(const Win32MessageBus&) = delete;
    Win32MessageBus& operator=(const Win32MessageBus&) = delete;

    void broadcast(const BusMessage& message) override;
    int descriptor() const override { return -1; }
    void waitForMessages(int timeoutMs) override;
    std::vector<BusMessage> receive() override;

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT id, WPARAM word, LPARAM value);
    void take(UINT id, WPARAM word, LPARAM value);

    std::string prefix_;
    HWND window_ = nullptr;
    std::vector<BusMessage> inbox_;
};

} // namespace pln
