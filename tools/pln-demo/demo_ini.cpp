#include "demo_ini.h"

#include "common/file_io.h"
#include "common/text.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace pln::demo {

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

// eMule writes its INI files as UTF-16LE with a byte-order mark and CRLF.
void writeIni(const std::filesystem::path& path, const std::string& section,
              const Entries& entries) {
    std::string text = "[" + section + "]\r\n";
    for (const auto& [key, value] : entries)
        text += key + "=" + value + "\r\n";
    std::string bytes = encodeTextFile(text, TextEncoding::Utf16LeBom);
    replaceFileContents(path.string(),
                        {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

std::string rate(DemoRandom& random, std::uint64_t maxHundredths) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6f",
                  static_cast<double>(random.between(0, maxHundredths)) / 100.0);
    return text;
}

} // namespace

void writeDemoPreferences(const DemoProfile& profile, DemoRandom& random) {
    std::string incoming = profile.stored(profile.incoming());
    std::string temp = profile.stored(profile.root / "eMule" / "Temp");
    writeIni(profile.config() / "preferences.ini", "eMule",
             {{"AppVersion", "0.50a"},
              {"Nick", "http://www.emule-project.net"},
              {"IncomingDir", incoming},
              {"TempDir", temp},
              {"Port", "4662"},
              {"UDPPort", "4672"},
              {"MaxUpload", std::to_string(random.between(20, 120))},
              {"MaxDownload", std::to_string(random.between(200, 2000))},
              {"UploadCapacityNew", "128"},
              {"DownloadCapacity", "2048"},
              {"MaxConnections", "500"},
              {"MaxHalfConnections", "9"},
              {"MaxSourcesPerFile", "400"},
              {"USSEnabled", "1"},
              {"USSPingLimit", "200"},
              {"ResolveSharedShellLinks", "0"},
              {"Autoconnect", "1"},
              {"Reconnect", "1"},
              {"NetworkED2K", "1"},
              {"NetworkKademlia", "1"},
              {"Language", "1033"},
              {"ConfirmExit", "1"},
              {"StatsInterval", "5"}});
}

void writeDemoStatistics(const DemoProfile& profile, DemoRandom& random) {
    std::uint64_t upFile = random.between(200'000'000'000, 900'000'000'000);
    std::uint64_t upPartFile = random.between(10'000'000'000, 90'000'000'000);
    std::uint64_t uploaded = upFile + upPartFile;
    std::uint64_t upEmule = uploaded * 7 / 10;
    std::uint64_t upAmule = uploaded / 10;
    std::uint64_t downloaded = random.between(100'000'000'000, 600'000'000'000);
    writeIni(profile.config() / "statistics.ini", "Statistics",
             {{"TotalDownloadedBytes", std::to_string(downloaded)},
              {"TotalUploadedBytes", std::to_string(uploaded)},
              {"DownSuccessfulSessions", std::to_string(random.between(1000, 9000))},
              {"DownFailedSessions", std::to_string(random.between(100, 900))},
              {"DownCompletedFiles", std::to_string(random.between(300, 3000))},
              {"UpSuccessfulSessions", std::to_string(random.between(50'000, 300'000))},
              {"UpFailedSessions", std::to_string(random.between(5'000, 30'000))},
              {"UpData_EDONKEY", std::to_string(uploaded / 20)},
              {"UpData_EDONKEYHYBRID", std::to_string(uploaded / 20)},
              {"UpData_EMULE", std::to_string(upEmule)},
              {"UpData_AMULE", std::to_string(upAmule)},
              {"UpData_MLDONKEY", std::to_string(uploaded - upEmule - upAmule - uploaded / 10)},
              {"UpData_File", std::to_string(upFile)},
              {"UpData_Partfile", std::to_string(upPartFile)},
              {"UpDataPort_4662", std::to_string(uploaded)},
              {"ConnRunTime", std::to_string(random.between(20'000'000, 90'000'000))},
              {"ConnNumReconnects", std::to_string(random.between(100, 2000))},
              {"ConnMaxAvgDownRate", rate(random, 40'000)},
              {"ConnMaxDownRate", rate(random, 90'000)},
              {"ConnMaxAvgUpRate", rate(random, 9'000)},
              {"ConnMaxUpRate", rate(random, 20'000)},
              {"ConnPeakConnections", std::to_string(random.between(200, 500))},
              {"SharedMostFilesShared", std::to_string(random.between(300, 1500))},
              {"statsDateTimeLastReset", "1451606400"}});
}

} // namespace pln::demo
