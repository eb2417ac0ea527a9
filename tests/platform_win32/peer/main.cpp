#include "platform/message_bus.h"
#include "platform/platform.h"

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

// The second process of the Windows platform tests:
//   hold-mutex NAME FOLDER   takes the mutex, writes FOLDER\ready with the
//                            outcome, keeps it until FOLDER\release exists
//   listen PREFIX FOLDER     joins the bus, writes FOLDER\ready, writes the
//                            first message to FOLDER\message, then answers
//                            for another program and for PREFIX
namespace {

using namespace std::chrono_literals;

int holdMutex(const std::string& name, const std::string& folder) {
    pln::NativePlatform native;
    auto result = native.services().mutexes.create(name);
    std::ofstream(folder + "\\ready") << static_cast<int>(result.outcome);
    for (int i = 0; i < 1000 && !std::ifstream(folder + "\\release").good(); ++i)
        std::this_thread::sleep_for(10ms);
    return 0;
}

int listen(const std::string& prefix, const std::string& folder) {
    auto bus = pln::openNativeMessageBus(prefix);
    std::ofstream(folder + "\\ready") << 1;
    for (auto end = std::chrono::steady_clock::now() + 20s;
         std::chrono::steady_clock::now() < end;) {
        bus->waitForMessages(50);
        for (const pln::BusMessage& m : bus->receive()) {
            std::ofstream(folder + "\\message") << m.name << ' ' << m.word << ' ' << m.value;
            bus->broadcast({"other-program", 1, 1});
            bus->broadcast({prefix + "resumed", 3, 4});
            return 0;
        }
    }
    return 1;
}

} // namespace

int main(int argc, char* argv[]) {
    const std::string mode = argc == 4 ? argv[1] : "";
    if (mode == "hold-mutex")
        return holdMutex(argv[2], argv[3]);
    return mode == "listen" ? listen(argv[2], argv[3]) : 2;
}
