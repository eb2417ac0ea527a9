#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pln::test {

// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes away.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder with a trailing '/'.
    const std::string& path() const { return path_; }
    std::string file(std::string_view name) const { return path_ + std::string(name); }
    std::string write(std::string_view name, std::string_view contents) const;
    std::string write(std::string_view name, const std::vector<std::uint8_t>& bytes) const {
        return write(name, std::string(bytes.begin(), bytes.end()));
    }
    std::string mkdir(std::string_view name) const;
    // How many files and folders the folder holds, to see that no temporary
    // file stays behind.
    std::size_t entryCount() const;

private:
    std::string path_;
};

std::vector<std::uint8_t> readBytes(const std::string& path);
std::string readText(const std::string& path);

} // namespace pln::test
