#include "logstore/core/log_file.h"

#include "common/error.h"
#include "logstore/core/conn_run_time.h"
#include "logstore/core/instants_cache.h"
#include "logstore/core/log_folder.h"
#include "logstore/core/log_messages.h"
#include "logstore/core/log_names.h"
#include "logstore/core/record_instants.h"
#include "platform/locked_file.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

namespace pln {

namespace {

// The recorder holds a log alone for the moment it appends a record; a
// reader waits that long before it reports the file as in use.
constexpr int readAttempts = 20;
constexpr std::chrono::milliseconds readRetryDelay{50};

LockedFile openForReading(const std::string& path) {
    for (int attempt = 1;; ++attempt) {
        try {
            return LockedFile(path, LockedFile::Access::Read);
        } catch (const Error& e) {
            if (attempt == readAttempts || e.kind() != ErrorKind::fileInUse)
                throw;
        }
        std::this_thread::sleep_for(readRetryDelay);
    }
}

bool isRegularFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

// What precedes the records, validated for the kind the name gives.
tLogFront readFront(const LockedFile& file, tLogKind kind, const std::string& fileName) {
    std::uint8_t front[combineEnd];
    std::size_t n = file.readSomeAt(0, front);
    return decodeLogFront({front, n}, kind, fileName);
}

// The text of a failure: an invalid file is named as such, any other failure
// in the words of the pattern, which names the log and gives the reason.
std::string failureText(const std::exception& e, const char* pattern, const std::string& name) {
    const auto* error = dynamic_cast<const Error*>(&e);
    if (error && error->kind() == ErrorKind::invalidFile)
        return e.what();
    return format(pattern, {name, e.what()});
}

} // namespace

tLogFile::tLogFile(tLogStoreContext context, std::string name, const tLogFolderListing* listing)
    : context_(std::move(context)), name_(std::move(name)), kind_(kindOf(name_)) {
    probe(listing);
    if (state_ == tLogState::none)
        return;
    try {
        readProperties();
    } catch (const std::exception& e) {
        report(failureText(e, logmsg::cannotCreateObject, name_));
    }
}

tLogFile::~tLogFile() = default;

// The files normally carry their extension in lower case, which a direct
// look finds; only when none is found is the folder listed.
void tLogFile::probe(const tLogFolderListing* listing) {
    if (listing)
        return probe(*listing);
    for (tLogState state : probeOrder) {
        std::string candidate = name_ + std::string(extensionOf(state));
        if (isRegularFile(context_.logsFolder + candidate)) {
            state_ = state;
            fileName_ = std::move(candidate);
            return;
        }
    }
    probe(tLogFolderListing(context_.logsFolder));
}

void tLogFile::probe(const tLogFolderListing& listing) {
    for (tLogState state : probeOrder) {
        if (auto found = listing.find(name_ + std::string(extensionOf(state)))) {
            state_ = state;
            fileName_ = std::move(*found);
            return;
        }
    }
    state_ = tLogState::none;
    fileName_ = name_ + std::string(extensionOf(state_));
}

void tLogFile::readProperties() {
    LockedFile file = openForReading(path());
    tLogFront front = readFront(file, kind_, fileName());
    if (kind_ != tLogKind::knownFile) {
        flags_ = front.header.flags;
        multiplier_ = front.header.multiplier;
        units_ = std::move(front.header.units);
    }
    if (kind_ == tLogKind::virtualLog) {
        operation_ = front.block.operation;
        sourceNames_ = std::move(front.block.sourceNames);
        maxValue_ = front.block.maxValue;
    }
    valueType_ = front.header.valueType;
}

std::span<const std::uint8_t> tLogFile::records() const {
    if (recordsSize_ < 1)
        return {};
    return {records_.get(), static_cast<std::size_t>(recordsSize_)};
}

tLogRecords tLogFile::values() const {
    if (!instants_)
        return {records(), valueType_};
    return {records(), valueType_, *instants_, sums_.get()};
}

std::int32_t tLogFile::recordCount() const {
    std::size_t size = recordSizeOf(valueType_);
    if (recordsSize_ < 1 || size == 0)
        return 0;
    return static_cast<std::int32_t>(static_cast<std::size_t>(recordsSize_) / size);
}

void tLogFile::loadValues() {
    try {
        readValues();
    } catch (const Error& e) {
        report(e.what());
    }
}

void tLogFile::readValues() {
    freeValues();
    std::optional<FileVersion> version;
    tRecordArea read;
    try {
        if (kind_ == tLogKind::virtualLog)
            loadSources();
        else
            version = readRecords(read);
    } catch (const std::exception& e) {
        freeValues();
        throw Error(failureText(e, logmsg::cannotLoad, name_), errorKindOf(e));
    }
    if (connRunTimeLog_)
        correctConnRunTime();
    workOutInstants(version ? &*version : nullptr, std::move(read));
}

// The instants come from the stamps alone, which the ConnRunTime correction
// leaves as they are, so those kept for this version of the file still hold;
// totals kept hold only for the records as read.
void tLogFile::workOutInstants(const FileVersion* version, tRecordArea read) {
    tInstantsCache* cache = version ? context_.instants : nullptr;
    if (cache && records_ == read.bytes) {
        cachedVersion_ = *version;
        sums_ = cache->findSums(path(), *version);
    }
    if (cache)
        instants_ = cache->find(path(), *version);
    if (instants_)
        return;
    instants_ = std::make_shared<const std::vector<std::int64_t>>(
        recordInstants(tLogRecords(records(), valueType_), context_.clock));
    if (cache)
        cache->store(path(), *version, instants_, std::move(read));
}

void tLogFile::workOutTotals() {
    for (const std::unique_ptr<tLogFile>& source : sources_)
        if (source)
            source->workOutTotals();
    if (sums_ || !records_)
        return;
    sums_ = std::make_shared<const tIncreaseSums>(tLogRecords(records(), valueType_));
    if (cachedVersion_ && context_.instants)
        context_.instants->keepSums(path(), *cachedVersion_, sums_);
}

// The area kept from an earlier read of the same version spares the read;
// read is the area as it is in the file, for the cache.
FileVersion tLogFile::readRecords(tRecordArea& read) {
    LockedFile file = openForReading(path());
    FileVersion version = file.version();
    readFront(file, kind_, fileName());
    if (context_.instants)
        read = context_.instants->findArea(path(), version);
    if (!read.bytes) {
        std::uint64_t size = file.size();
        std::uint64_t start = recordAreaStart(kind_);
        std::uint64_t area = size - start;
        if (area > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
            throw Error(logmsg::tooLarge);
        auto buffer = std::make_shared_for_overwrite<std::uint8_t[]>(area);
        if (area > 0 && !file.readAt(start, {buffer.get(), area}))
            throw invalidLogFileError(fileName());
        read = {std::move(buffer), area};
    }
    records_ = read.bytes;
    recordsSize_ = static_cast<std::int32_t>(read.size);
    return version;
}

void tLogFile::loadSources() {
    sourceNames_ = readFront(openForReading(path()), kind_, fileName()).block.sourceNames;
    // The names are those of stats logs (readFront refuses any other), so no
    // chain of combined logs, no cycle and no file outside the folder is
    // ever followed.
    for (std::size_t i = 0; i < sources_.size(); ++i) {
        sources_[i] = std::make_unique<tLogFile>(context_, sourceNames_[i]);
        sources_[i]->loadValues();
    }
}

void tLogFile::correctConnRunTime() {
    if (valueType_ != valueTypeInteger || recordsSize_ < 1 || !connRunTimeDrops(records()))
        return;
    const auto size = static_cast<std::size_t>(recordsSize_);
    auto corrected = std::make_shared_for_overwrite<std::uint8_t[]>(size);
    std::memcpy(corrected.get(), records_.get(), size);
    if (pln::correctConnRunTime({corrected.get(), size})) {
        records_ = std::move(corrected);
        writeBackRequested_ = true;
    }
}

void tLogFile::freeValues() {
    sources_ = {};
    records_.reset();
    instants_.reset();
    sums_.reset();
    cachedVersion_.reset();
    recordsSize_ = -1;
}

void tLogFile::retainRecords(const std::vector<bool>& keep) {
    std::size_t size = recordSizeOf(valueType_);
    std::size_t count = std::min(keep.size(), static_cast<std::size_t>(recordCount()));
    std::size_t kept = static_cast<std::size_t>(
        std::count(keep.begin(), keep.begin() + static_cast<std::ptrdiff_t>(count), true));
    auto records = std::make_shared_for_overwrite<std::uint8_t[]>(kept * size);
    std::vector<std::int64_t> instants;
    instants.reserve(instants_ ? kept : 0);
    std::size_t next = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (!keep[i])
            continue;
        std::memcpy(records.get() + next * size, records_.get() + i * size, size);
        if (instants_ && i < instants_->size())
            instants.push_back((*instants_)[i]);
        ++next;
    }
    if (instants_)
        instants_ = std::make_shared<const std::vector<std::int64_t>>(std::move(instants));
    if (recordsSize_ >= 0) {
        records_ = std::move(records);
        recordsSize_ = static_cast<std::int32_t>(kept * size);
    }
    sums_.reset();
    cachedVersion_.reset();
}

// Runs a rewrite of the file; its failure becomes the report's text.
template <typename Action> void tLogFile::saveOrThrow(Action action) {
    try {
        action();
    } catch (const std::exception& e) {
        throw Error(failureText(e, logmsg::cannotSave, name_), errorKindOf(e));
    }
}

// Runs a rewrite of the file and reports its failure.
template <typename Action> bool tLogFile::save(Action action) {
    try {
        saveOrThrow(action);
        return true;
    } catch (const Error& e) {
        report(e.what());
    }
    return false;
}

bool tLogFile::replaceValues(std::span<const std::uint8_t> bytes) {
    try {
        writeValues(bytes);
        return true;
    } catch (const Error& e) {
        report(e.what());
    }
    return false;
}

void tLogFile::writeValues(std::span<const std::uint8_t> bytes) {
    saveOrThrow([&] {
        FileReplacementBatch batch;
        stageInto(bytes, batch);
        batch.flush();
        batch.commit(path());
    });
}

bool tLogFile::stageValues(std::span<const std::uint8_t> bytes, FileReplacementBatch& batch) {
    return save([&] { stageInto(bytes, batch); });
}

void tLogFile::stageInto(std::span<const std::uint8_t> bytes, FileReplacementBatch& batch) {
    if (kind_ == tLogKind::virtualLog)
        throw Error(logmsg::noRecordArea);
    LockedFile file(path(), LockedFile::Access::ReadWrite);
    std::size_t start = recordAreaStart(kind_);
    std::vector<std::uint8_t> contents(start + bytes.size());
    decodeLogFront({contents.data(), file.readSomeAt(0, {contents.data(), start})}, kind_,
                   fileName());
    std::copy(bytes.begin(), bytes.end(), contents.begin() + static_cast<std::ptrdiff_t>(start));
    batch.add(path(), contents);
}

bool tLogFile::commitValues(FileReplacementBatch& batch) {
    return save([&] { batch.commit(path()); });
}

bool tLogFile::updateProperties(std::uint8_t flags, const std::string& units, double multiplier,
                                tLogOperation operation, double maxValue) {
    if (kind_ == tLogKind::knownFile)
        return true;
    return save([&] {
        LockedFile file(path(), LockedFile::Access::ReadWrite);
        tLogHeader header = readFront(file, kind_, fileName()).header;
        header.flags = flags;
        header.multiplier = multiplier;
        header.units = units;
        ByteWriter out;
        encodeHeader(header, out);
        file.writeAt(logPrefixSize, out.buffer());
        if (kind_ == tLogKind::virtualLog) {
            ByteWriter op, max;
            op.u8(static_cast<std::uint8_t>(operation));
            max.f64(maxValue);
            file.writeAt(headerEnd, op.buffer());
            file.writeAt(combineNamesEnd, max.buffer());
            operation_ = operation;
            maxValue_ = maxValue;
        }
        file.flush();
        flags_ = flags;
        multiplier_ = multiplier;
        units_ = decodeUnits(encodeUnits(units));
    });
}

bool tLogFile::renameVirtual(const std::string& newName) {
    if (kind_ != tLogKind::virtualLog || newName == name_)
        return true;
    return save([&] {
        if (kindOf(newName) != tLogKind::virtualLog ||
            newName.find_first_of("/\\") != std::string::npos)
            throw Error(logmsg::notAFileName);
        namespace fs = std::filesystem;
        std::error_code ec;
        for (tLogState state : probeOrder) {
            fs::path other = context_.logsFolder + newName + std::string(extensionOf(state));
            if (fs::exists(other, ec) && !fs::equivalent(other, path(), ec))
                throw Error(logmsg::nameTaken);
        }
        std::string target = newName + std::string(extension());
        fs::rename(path(), context_.logsFolder + target, ec);
        if (ec)
            throw Error(ec.message(), ErrorKind::io);
        name_ = newName;
        fileName_ = std::move(target);
    });
}

std::string_view tLogFile::extension() const {
    return extensionOf(state_);
}

std::string tLogFile::path() const {
    return context_.logsFolder + fileName();
}

std::string tLogFile::displayName() const {
    return displayNameOf(name_);
}

std::string tLogFile::iniFileName() const {
    return iniFileNameOf(name_);
}

std::string tLogFile::iniSection() const {
    return iniSectionOf(name_);
}

std::string tLogFile::iniKey() const {
    return iniKeyOf(name_);
}

void tLogFile::report(const std::string& text) const {
    context_.prompter.showError(text);
}

} // namespace pln
