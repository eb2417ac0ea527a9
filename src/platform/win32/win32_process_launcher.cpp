#include "platform/win32/win32_process_launcher.h"

#include "common/wide_text.h"
#include "common/win_handle.h"

namespace pln {

bool Win32ProcessLauncher::runProgram(const std::string& path, const std::string& parameters) {
    if (path.find('"') != std::string::npos)
        return false;
    std::wstring commandLine = L"\"" + toWide(path) + L"\"";
    if (!parameters.empty())
        commandLine += L" " + toWide(parameters);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(toWide(path).c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                          CREATE_NO_WINDOW, nullptr, nullptr, &startup, &started))
        return false;
    WinHandle process(started.hProcess);
    WinHandle thread(started.hThread);
    return true;
}

} // namespace pln
