#pragma once

#include "platform/clock.h"
#include "platform/file_listing.h"
#include "platform/file_system.h"
#include "platform/ini_profile.h"
#include "platform/named_mutex.h"
#include "platform/port_probe.h"
#include "platform/process_launcher.h"
#include "platform/running_programs.h"
#include "platform/system_info.h"

#include <memory>

namespace pln {

// The operating-system services, handed down through constructors. The
// object that creates them owns them; everyone else holds this view.
struct Platform {
    SystemInfo& system;
    FileSystem& files;
    MutexService& mutexes;
    ProcessLauncher& processes;
    IniProfile& ini;
    Clock& clock;
    FileListing& listing;
    PortProbe& ports;
    RunningPrograms& programs;
};

// The services of the machine the program runs on, owning every service.
class NativePlatform {
public:
    NativePlatform();
    ~NativePlatform();
    NativePlatform(const NativePlatform&) = delete;
    NativePlatform& operator=(const NativePlatform&) = delete;
    Platform& services() { return *services_; }

private:
    std::unique_ptr<SystemInfo> system_;
    std::unique_ptr<FileSystem> files_;
    std::unique_ptr<MutexService> mutexes_;
    std::unique_ptr<ProcessLauncher> processes_;
    std::unique_ptr<IniProfile> ini_;
    std::unique_ptr<Clock> clock_;
    std::unique_ptr<FileListing> listing_;
    std::unique_ptr<PortProbe> ports_;
    std::unique_ptr<RunningPrograms> programs_;
    std::unique_ptr<Platform> services_;
};

} // namespace pln
