#pragma once

#include "emulefiles/core/shared_data.h"
#include "platform/clock.h"
#include "platform/file_listing.h"
#include "platform/file_system.h"
#include "platform/ini_profile.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pln {

// Which of eMule's files named a shared folder.
enum class tSharedSource : std::uint8_t {
    sharedDir = 0,   // a line of shareddir.dat
    incomingDir = 1, // IncomingDir of preferences.ini
    category = 2,    // the incoming folder of a category of Category.ini
};

struct tSharedFolder {
    std::string path; // with its trailing delimiter, as eMule wrote it
    tSharedSource source = tSharedSource::sharedDir;
};

// eMule's share set rebuilt from its configuration files: the shared
// folders, the single shared files and the files excluded from their
// folder. Each source is reloaded only when its file changed and the change
// has settled, because eMule may be rewriting it.
class tSharedFolders {
public:
    // The configuration folder ends with a delimiter; separator is this
    // system's path separator.
    tSharedFolders(FileSystem& files, Clock& clock, IniProfile& ini, FileListing& listing,
                   std::string configFolder, char separator);

    bool incomingDirChanged();
    bool sharedDirsChanged();
    bool categoriesChanged();
    bool sharedFilesChanged();

    void loadIncomingDir();
    void loadSharedDirs();
    void loadCategories();
    void loadSharedFiles();

    // Empties the table and fills it with the files eMule shares now.
    void scanSharedFiles(tSharedFileTable& table);

    // Sorted without regard to case; a folder named by two sources is held
    // once, with the source that added it first.
    const std::vector<tSharedFolder>& folders() const { return folders_; }
    const std::vector<std::string>& sharedFiles() const { return sharedFiles_; }
    const std::vector<std::string>& excludedFiles() const { return excludedFiles_; }

    bool incomingDirLoaded() const { return incomingDirLoaded_; }
    bool sharedDirsLoaded() const { return sharedDirsLoaded_; }
    bool categoriesLoaded() const { return categoriesLoaded_; }
    bool sharedFilesLoaded() const { return sharedFilesLoaded_; }
    FileStamp preferencesAge() const { return preferencesAge_; }
    FileStamp sharedDirsAge() const { return sharedDirsAge_; }
    FileStamp categoriesAge() const { return categoriesAge_; }
    FileStamp sharedFilesAge() const { return sharedFilesAge_; }
    // Why the last failed read of a .dat file failed; empty after a success.
    const std::string& lastDatError() const { return lastDatError_; }

    std::string preferencesPath() const { return configFolder_ + "preferences.ini"; }
    std::string sharedDirsPath() const { return configFolder_ + "shareddir.dat"; }
    std::string categoriesPath() const { return configFolder_ + "Category.ini"; }
    std::string sharedFilesPath() const { return configFolder_ + "sharedfiles.dat"; }

private:
    FileStamp stampOf(const std::string& path);
    bool settled(FileStamp stamp);
    bool sourceChanged(const std::string& path, bool loaded, FileStamp age);
    bool readLines(const std::string& path, bool& loaded, FileStamp& age,
                   std::vector<std::string>& lines);
    void addFolder(std::string_view path, tSharedSource source);
    void removeSource(tSharedSource source);
    std::vector<std::string> categoryFolders();

    FileSystem& files_;
    Clock& clock_;
    IniProfile& ini_;
    FileListing& listing_;
    std::string configFolder_;
    char separator_;

    std::vector<tSharedFolder> folders_;
    bool incomingDirLoaded_ = false;
    bool sharedDirsLoaded_ = false;
    bool categoriesLoaded_ = false;
    FileStamp preferencesAge_ = -1;
    FileStamp sharedDirsAge_ = -1;
    FileStamp categoriesAge_ = -1;
    std::vector<std::string> sharedFiles_;
    std::vector<std::string> excludedFiles_;
    bool sharedFilesLoaded_ = false;
    FileStamp sharedFilesAge_ = -1;
    std::string lastDatError_;
};

} // namespace pln
