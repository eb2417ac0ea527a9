#include "platform/posix/posix_message_bus.h"

#include "common/byte_reader.h"
#include "common/byte_writer.h"
#include "common/error.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace pln {

namespace {

constexpr std::uint8_t busFormat = 1;
constexpr const char* busMagic = "PLNB";
constexpr std::size_t datagramFixedSize = 4 + 1 + 4 + 8 + 2;
constexpr std::size_t largestDatagram = datagramFixedSize + longestBusName;
// Enough to empty a busy queue, few enough that one call never starves the caller.
constexpr int mostDatagramsPerReceive = 256;
constexpr const char* socketSuffix = ".sock";

std::string hex16(std::uint64_t value) {
    constexpr const char* digits = "0123456789abcdef";
    std::string text(16, '0');
    for (std::size_t i = 16; i-- > 0; value >>= 4)
        text[i] = digits[value & 15];
    return text;
}

std::uint64_t fnv1a64(const std::string& text) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

bool isWritableFolder(const char* path) {
    struct stat st {};
    return ::stat(path, &st) == 0 && S_ISDIR(st.st_mode) && ::access(path, W_OK | X_OK) == 0;
}

// Another user's folder could read every message or plant sockets that
// swallow them, so only a folder of this user closed to everyone else is used.
bool makePrivateFolder(const std::string& path) {
    (void)::mkdir(path.c_str(), 0700);
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & 077) == 0;
}

bool fillAddress(const std::string& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string uniqueSocketName() {
    static std::atomic<unsigned> counter{0};
    return std::to_string(::getpid()) + "-" + std::to_string(counter++) + socketSuffix;
}

} // namespace

std::vector<std::uint8_t> encodeBusDatagram(const BusMessage& message) {
    if (message.name.size() > longestBusName)
        throw Error("The message name is too long");
    ByteWriter out;
    out.text(busMagic);
    out.u8(busFormat);
    out.u32(message.word);
    out.i64(message.value);
    out.u16(static_cast<std::uint16_t>(message.name.size()));
    out.text(message.name);
    return out.take();
}

std::optional<BusMessage> decodeBusDatagram(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < datagramFixedSize || bytes.size() > largestDatagram)
        return std::nullopt;
    ByteReader in(bytes);
    if (in.text(4) != busMagic || in.u8() != busFormat)
        return std::nullopt;
    BusMessage message;
    message.word = in.u32();
    message.value = in.i64();
    std::size_t length = in.u16();
    if (length != in.remaining() || length == 0)
        return std::nullopt;
    message.name = in.text(length);
    return message;
}

std::string messageBusFolder(const std::string& messagePrefix) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string base;
    if (runtime && runtime[0] == '/' && isWritableFolder(runtime)) {
        base = runtime;
    } else {
        base = "/tmp/pln-" + std::to_string(::getuid());
        if (!makePrivateFolder(base))
            return {};
    }
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    return base + "/pln-bus-" + hex16(fnv1a64(messagePrefix));
}

PosixMessageBus::PosixMessageBus(std::string folder) : folder_(std::move(folder)) {
    if (folder_.empty() || !makePrivateFolder(folder_))
        return;
    fd_ = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0)
        return;
    usable_ = true;
    ownPath_ = folder_ + "/" + uniqueSocketName();
    sockaddr_un address;
    if (!fillAddress(ownPath_, address))
        return;
    // A socket left by a dead process that had this process id goes first.
    (void)::unlink(ownPath_.c_str());
    bound_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

PosixMessageBus::~PosixMessageBus() {
    if (bound_)
        (void)::unlink(ownPath_.c_str());
    if (fd_ >= 0)
        ::close(fd_);
}

void PosixMessageBus::broadcast(const BusMessage& message) {
    if (!usable_)
        return;
    std::vector<std::uint8_t> datagram = encodeBusDatagram(message);
    DIR* dir = ::opendir(folder_.c_str());
    if (!dir)
        return;
    std::vector<std::string> peers;
    while (dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        std::string path = folder_ + "/" + name;
        if (endsWith(name, socketSuffix) && path != ownPath_)
            peers.push_back(std::move(path));
    }
    ::closedir(dir);
    for (const std::string& path : peers) {
        sockaddr_un address;
        if (!fillAddress(path, address))
            continue;
        ssize_t sent = ::sendto(fd_, datagram.data(), datagram.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
                                reinterpret_cast<sockaddr*>(&address), sizeof address);
        // Refused: nobody is bound there any more. A full queue (EAGAIN)
        // belongs to a live process that is busy; that message is lost.
        if (sent < 0 && errno == ECONNREFUSED)
            (void)::unlink(path.c_str());
    }
}

void PosixMessageBus::waitForMessages(int timeoutMs) {
    pollfd watched{descriptor(), POLLIN, 0};
    (void)::poll(&watched, watched.fd < 0 ? 0 : 1, timeoutMs);
}

std::vector<BusMessage> PosixMessageBus::receive() {
    std::vector<BusMessage> messages;
    if (!bound_)
        return messages;
    std::uint8_t buffer[largestDatagram + 1];
    for (int i = 0; i < mostDatagramsPerReceive; ++i) {
        ssize_t n = ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT | MSG_TRUNC);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (static_cast<std::size_t>(n) > largestDatagram)
            continue;
        if (auto message = decodeBusDatagram({buffer, static_cast<std::size_t>(n)}))
            messages.push_back(std::move(*message));
    }
    return messages;
}

std::unique_ptr<MessageBus> openNativeMessageBus(const std::string& messagePrefix) {
    return std::make_unique<PosixMessageBus>(messageBusFolder(messagePrefix));
}

} // namespace pln
