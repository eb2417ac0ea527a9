#include "platform/fake_platform.h"

#include "common/ini_document.h"

namespace pln {

namespace {

std::string withoutTrailingSeparator(std::string path) {
    while (path.size() > 1 && (path.back() == '\\' || path.back() == '/'))
        path.pop_back();
    return path;
}

template <typename Map, typename Key>
std::optional<typename Map::mapped_type> lookup(const Map& map, const Key& key) {
    auto it = map.find(key);
    if (it == map.end())
        return std::nullopt;
    return it->second;
}

class FakeNamedMutex : public NamedMutex {
public:
    FakeNamedMutex(FakeMutexService& service, std::string name)
        : service_(service), name_(std::move(name)) {}
    ~FakeNamedMutex() override { service_.heldHere.erase(name_); }
    FakeNamedMutex(const FakeNamedMutex&) = delete;
    FakeNamedMutex& operator=(const FakeNamedMutex&) = delete;

private:
    FakeMutexService& service_;
    std::string name_;
};

} // namespace

IniDocument FakeIniProfile::document(const std::string& file) const {
    auto it = files.find(file);
    return it == files.end() ? IniDocument() : IniDocument(it->second);
}

std::optional<std::int32_t> FakeSystemInfo::emuleRegistryInt(const std::string& valueName) {
    return lookup(registry, valueName);
}

std::optional<std::string> FakeSystemInfo::knownFolder(KnownFolder folder) {
    return lookup(knownFolders, folder);
}

std::optional<std::string> FakeSystemInfo::shellFolder(ShellFolder folder) {
    return lookup(shellFolders, folder);
}

bool FakeFileSystem::folderExists(const std::string& path) {
    std::string wanted = withoutTrailingSeparator(path);
    for (const std::string& folder : folders)
        if (withoutTrailingSeparator(folder) == wanted)
            return true;
    return false;
}

bool FakeFileSystem::createFolder(const std::string& path) {
    std::string folder = withoutTrailingSeparator(path);
    std::size_t cut = folder.find_last_of("\\/");
    if (failCreate.count(folder) || cut == std::string::npos ||
        !folderExists(folder.substr(0, cut + 1)))
        return false;
    folders.insert(folder);
    return true;
}

std::optional<FileStamp> FakeFileSystem::modificationStamp(const std::string& path) {
    return lookup(stamps, path);
}

MutexService::Result FakeMutexService::create(const std::string& name) {
    Result result;
    if (denied.count(name))
        return result;
    if (heldElsewhere.count(name) || heldHere.count(name)) {
        result.outcome = MutexOutcome::AlreadyExists;
        return result;
    }
    heldHere.insert(name);
    created.push_back(name);
    result.outcome = MutexOutcome::Created;
    result.handle = std::make_unique<FakeNamedMutex>(*this, name);
    return result;
}

bool FakeMutexService::isHeld(const std::string& name) {
    return denied.count(name) || heldElsewhere.count(name) || heldHere.count(name);
}

bool FakeProcessLauncher::runProgram(const std::string& path, const std::string& parameters) {
    started.emplace_back(path, parameters);
    return result;
}

std::optional<std::string> FakeIniProfile::read(const std::string& file, const std::string& section,
                                                const std::string& key) {
    return document(file).value(section, key);
}

bool FakeIniProfile::write(const std::string& file, const std::string& section,
                           const std::string& key, const std::string& value) {
    if (failWrite.count(file))
        return false;
    IniDocument changed = document(file);
    if (!changed.setValue(section, key, value))
        return false;
    files[file] = changed.text();
    return true;
}

std::vector<std::string> FakeIniProfile::sections(const std::string& file) {
    return document(file).sections();
}

std::vector<std::string> FakeIniProfile::keys(const std::string& file, const std::string& section) {
    return document(file).keys(section);
}

} // namespace pln
