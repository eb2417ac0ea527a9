#include "platform/win32/win32_mutex_service.h"

#include "common/wide_text.h"
#include "common/win_handle.h"

namespace pln {

namespace {

class Win32NamedMutex : public NamedMutex {
public:
    explicit Win32NamedMutex(WinHandle handle) : handle_(std::move(handle)) {}

private:
    WinHandle handle_;
};

} // namespace

MutexService::Result Win32MutexService::create(const std::string& name) {
    Result result;
    WinHandle handle(::CreateMutexW(nullptr, FALSE, toWide(name).c_str()));
    DWORD error = ::GetLastError();
    if (!handle.valid()) {
        // Created by another user with rights that shut this one out: it
        // exists all the same, but it cannot be opened.
        result.outcome = MutexOutcome::AccessDenied;
        return result;
    }
    if (error == ERROR_ALREADY_EXISTS) {
        result.outcome = MutexOutcome::AlreadyExists;
        return result;
    }
    result.outcome = MutexOutcome::Created;
    result.handle = std::make_unique<Win32NamedMutex>(std::move(handle));
    return result;
}

// Opening, unlike creating, never makes the name exist: a program creating
// it at this instant still finds it new.
bool Win32MutexService::isHeld(const std::string& name) {
    WinHandle handle(::OpenMutexW(SYNCHRONIZE, FALSE, toWide(name).c_str()));
    return handle.valid() || ::GetLastError() != ERROR_FILE_NOT_FOUND;
}

} // namespace pln
