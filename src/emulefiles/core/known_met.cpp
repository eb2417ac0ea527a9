#include "emulefiles/core/known_met.h"

#include "common/byte_writer.h"
#include "common/error.h"
#include "common/file_io.h"
#include "common/settled.h"
#include "emulefiles/core/known_met_codec.h"

namespace pln {

tKnownMet::tKnownMet(std::string fileName, FileSystem& files, Clock& clock)
    : fileName_(std::move(fileName)), files_(files), clock_(clock) {}

// The records are parsed as the file is read, so that its bytes and the
// records built from them are never held whole at once. A file that changed
// while it was read is reported as such, before what its bytes made of it.
void tKnownMet::load() {
    list_.reset();
    fileAge_.reset();
    std::optional<FileStamp> before = files_.modificationStamp(fileName_);
    tKnownMetContents contents;
    std::optional<Error> failure;
    {
        FileReader file(fileName_, maxMetFileSize);
        try {
            contents = readKnownMet(file);
        } catch (const FileReadError&) {
            throw;
        } catch (const Error& e) {
            failure = e;
        }
    }
    std::optional<FileStamp> after = files_.modificationStamp(fileName_);
    if (!before || before != after)
        throw Error(
            format("The \"%s\" file has been modified while trying to read it.", {fileName_}));
    if (failure)
        throw Error(fileFailure("read", fileName_, failure->what()), failure->kind());
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
        throw Error(format("An error occurred while saving known.met: %s", {e.what()}), e.kind());
    }
}

bool tKnownMet::needsReload() {
    std::optional<FileStamp> age = files_.modificationStamp(fileName_);
    if (!age)
        return true;
    if (list_ && age == fileAge_)
        return false;
    return hasSettled(clock_.nowUnixMs(), *age);
}

bool tKnownMet::isUnchanged() {
    return list_ && fileAge_ && files_.modificationStamp(fileName_) == fileAge_;
}

} // namespace pln
