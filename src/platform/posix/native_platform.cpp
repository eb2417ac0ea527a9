#include "platform/platform.h"
#include "platform/portable/ini_file_profile.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_mutex_service.h"
#include "platform/posix/posix_port_probe.h"
#include "platform/posix/posix_process_launcher.h"
#include "platform/posix/posix_running_programs.h"
#include "platform/posix/posix_system_info.h"

namespace pln {

NativePlatform::NativePlatform()
    : system_(std::make_unique<PosixSystemInfo>()), files_(std::make_unique<PosixFileSystem>()),
      mutexes_(std::make_unique<PosixMutexService>()),
      processes_(std::make_unique<PosixProcessLauncher>()),
      ini_(std::make_unique<IniFileProfile>()), clock_(std::make_unique<PosixClock>()),
      listing_(makeNativeFileListing()), ports_(std::make_unique<PosixPortProbe>()),
      programs_(std::make_unique<PosixRunningPrograms>()),
      services_(
          std::make_unique<Platform>(Platform{*system_, *files_, *mutexes_, *processes_, *ini_,
                                              *clock_, *listing_, *ports_, *programs_})) {}

NativePlatform::~NativePlatform() = default;

} // namespace pln
