#include "platform/platform.h"
#include "platform/portable/ini_file_profile.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_mutex_service.h"
#include "platform/win32/win32_port_probe.h"
#include "platform/win32/win32_process_launcher.h"
#include "platform/win32/win32_running_programs.h"
#include "platform/win32/win32_system_info.h"

namespace pln {

NativePlatform::NativePlatform()
    : system_(std::make_unique<Win32SystemInfo>()), files_(std::make_unique<Win32FileSystem>()),
      mutexes_(std::make_unique<Win32MutexService>()),
      processes_(std::make_unique<Win32ProcessLauncher>()),
      ini_(std::make_unique<IniFileProfile>()), clock_(std::make_unique<Win32Clock>()),
      listing_(makeNativeFileListing()), ports_(std::make_unique<Win32PortProbe>()),
      programs_(std::make_unique<Win32RunningPrograms>()),
      services_(
          std::make_unique<Platform>(Platform{*system_, *files_, *mutexes_, *processes_, *ini_,
                                              *clock_, *listing_, *ports_, *programs_})) {}

NativePlatform::~NativePlatform() = default;

} // namespace pln
