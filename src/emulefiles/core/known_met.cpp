#include "emulefiles/core/known_met.h"

#include "common/byte_writer.h"
#include "common/error.h"
#include "common/file_io.h"
#include "emulefiles/core/known_met_codec.h"

namespace pln {

namespace {

// A change this recent may be a write still in progress.
constexpr std::int64_t settleMs = 2000;

} // namespace

tKnownMet::tKnownMet(std::string fileName, FileSystem& files, Clock& clock)
    : fileName_(std::move(fileName)), files_(files), clock_(clock) {}

void tKnownMet::load() {
    list_.reset();
    fileAge_.reset();
    std::optional<FileStamp> before = files_.modificationStamp(fileName_);
    std::vector<std::uint8_t> bytes = readWholeFile(fileName_, maxMetFileSize);
    std::optional<FileStamp> after = files_.modificationStamp(fileName_);
    if (!before || before != after)
        throw Error(
            format("The \"%s\" file has been modified while trying to read it.", {fileName_}));
    tKnownMetContents contents;
    try {
        contents = readKnownMet(bytes);
    } catch (const Error& e) {
        throw Error(fileFailure("read", fileName_, e.what()));
    }
    list_ = std::make_unique<tKnownMetList>(std::move(contents.list));
    version_ = contents.version;
    fileAge_ = after;
}

void tKnownMet::save() {
    try {
        if (!list_)
            throw Error("known.met has not been read");
        ByteWriter out;
        std::uint8_t version = writeKnownMet(*list_, out);
        writeNamedFile(fileName_, out.buffer());
        version_ = version;
        fileAge_ = files_.modificationStamp(fileName_);
    } catch (const Error& e) {
        fileAge_.reset();
        throw Error(format("An error occurred while saving known.met: %s", {e.what()}));
    }
}

bool tKnownMet::needsReload() {
    std::optional<FileStamp> age = files_.modificationStamp(fileName_);
    if (!age)
        return true;
    if (list_ && age == fileAge_)
        return false;
    std::int64_t distance = clock_.nowUnixMs() - *age;
    return distance > settleMs || distance < -settleMs;
}

bool tKnownMet::isUnchanged() {
    return list_ && fileAge_ && files_.modificationStamp(fileName_) == fileAge_;
}

} // namespace pln
