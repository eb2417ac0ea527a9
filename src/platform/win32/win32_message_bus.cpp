#include "platform/win32/win32_message_bus.h"

#include "common/wide_text.h"

#include <utility>

namespace pln {

namespace {

constexpr const wchar_t* windowClassName = L"PLN message bus";
// Registered window messages and clipboard formats share these ids.
constexpr UINT firstRegisteredId = 0xC000;
// Names of global atoms are at most 255 characters.
constexpr int longestAtomName = 255;

ATOM registerWindowClass(WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = windowClassName;
    ATOM atom = ::RegisterClassExW(&windowClass);
    return atom ? atom : static_cast<ATOM>(::GetLastError() == ERROR_CLASS_ALREADY_EXISTS);
}

std::string registeredName(UINT id) {
    wchar_t name[longestAtomName + 1] = {};
    int length = ::GetClipboardFormatNameW(id, name, longestAtomName + 1);
    return length > 0 ? fromWide(std::wstring(name, static_cast<std::size_t>(length))) : "";
}

} // namespace

Win32MessageBus::Win32MessageBus(std::string messagePrefix) : prefix_(std::move(messagePrefix)) {
    if (!registerWindowClass(&Win32MessageBus::windowProcedure))
        return;
    window_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, windowClassName, L"", WS_POPUP, 0, 0, 0, 0,
                                nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (window_)
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32MessageBus::~Win32MessageBus() {
    if (window_)
        ::DestroyWindow(window_);
}

LRESULT CALLBACK Win32MessageBus::windowProcedure(HWND window, UINT id, WPARAM word, LPARAM value) {
    auto* bus = reinterpret_cast<Win32MessageBus*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (bus && id >= firstRegisteredId && id <= 0xFFFF) {
        bus->take(id, word, value);
        return 0;
    }
    return ::DefWindowProcW(window, id, word, value);
}

void Win32MessageBus::take(UINT id, WPARAM word, LPARAM value) {
    std::string name = registeredName(id);
    if (name.size() <= prefix_.size() || name.compare(0, prefix_.size(), prefix_) != 0)
        return;
    inbox_.push_back(
        {std::move(name), static_cast<std::uint32_t>(word), static_cast<std::int64_t>(value)});
}

// Posted, never sent: a hung receiver cannot stop the sender.
void Win32MessageBus::broadcast(const BusMessage& message) {
    UINT id = ::RegisterWindowMessageW(toWide(message.name).c_str());
    if (id == 0)
        return;
    DWORD recipients = BSM_APPLICATIONS;
    ::BroadcastSystemMessageW(BSF_POSTMESSAGE | BSF_IGNORECURRENTTASK, &recipients, id,
                              static_cast<WPARAM>(message.word),
                              static_cast<LPARAM>(message.value));
}

void Win32MessageBus::waitForMessages(int timeoutMs) {
    ::MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(timeoutMs), QS_ALLINPUT,
                                  MWMO_INPUTAVAILABLE);
}

std::vector<BusMessage> Win32MessageBus::receive() {
    MSG message{};
    while (window_ && ::PeekMessageW(&message, window_, 0, 0, PM_REMOVE))
        ::DispatchMessageW(&message);
    return std::exchange(inbox_, {});
}

std::unique_ptr<MessageBus> openNativeMessageBus(const std::string& messagePrefix) {
    return std::make_unique<Win32MessageBus>(messagePrefix);
}

} // namespace pln
