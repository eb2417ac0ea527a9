#include "commands.h"
#include "common/error.h"
#include "common/file_io.h"
#include "emulefiles/core/known_met.h"
#include "emulefiles/core/tag_names.h"
#include "error_stream.h"
#include "json_writer.h"
#include "platform/platform.h"

#include <iostream>
#include <span>

namespace pln::tool {

const char* const knownUsage =
    "  pln-tool known dump FILE       one JSON object per record\n"
    "  pln-tool known resave IN OUT   load IN and save it as OUT\n"
    "  pln-tool known repair CONFIGFOLDER [--backup FILE] [--links FILE]\n"
    "                  [--from-logs LOGSFOLDER [--import-missing]]\n"
    "                  [--delete-erroneous]\n"
    "                                 repair CONFIGFOLDER/known.met from a\n"
    "                                 backup copy, ed2k links (one per line)\n"
    "                                 and the logs; refused while eMule runs,\n"
    "                                 and with --from-logs while its recorder\n"
    "                                 runs\n"
    "  pln-tool known rename FILE HASH NAME\n"
    "                                 store NAME as the file name of HASH\n"
    "  pln-tool known forget FILE HASH... [--cancel CANCELLEDMET]\n"
    "                                 remove the files from known.met (and\n"
    "                                 mark them cancelled in CANCELLEDMET);\n"
    "                                 both refused while eMule runs\n";

namespace {

std::string hexOf(std::span<const std::uint8_t> bytes) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(2 * bytes.size());
    for (auto b : bytes) {
        text += digits[b >> 4];
        text += digits[b & 0x0F];
    }
    return text;
}

std::string tagJson(const tKnownMetTag& tag) {
    JsonObject json;
    if (!tag.name)
        json.number("id", tag.nameId);
    if (tag.name || !knownMetTagName(tag.nameId).empty())
        json.text("name", knownMetTagLabel(tag));
    std::string_view typeName = knownMetTagTypeName(tag.tagType);
    json.text("type", typeName.empty() ? std::to_string(tag.tagType) : std::string(typeName));
    switch (tag.tagType) {
    case tagType::string:
        json.text("value", tag.getText());
        break;
    case tagType::uint32:
    case tagType::uint64:
        json.number("value", tag.intValue);
        break;
    case tagType::float32:
        json.real("value", tag.floatValue);
        break;
    case tagType::hash:
    case tagType::blob:
        json.number("length", tag.data.size()).text("hex", hexOf(tag.data));
        break;
    default:
        break;
    }
    return json.str();
}

std::string recordJson(const tKnownMetRecord& record) {
    JsonArray tags;
    for (const auto& tag : record.tags)
        tags.add(tagJson(tag));
    return JsonObject()
        .text("hash", record.hash.toString())
        .text("name", record.getFileName())
        .number("size", record.getFileSize())
        .number("transferred", record.getTransferred())
        .number("requested", record.getRequested())
        .number("accepted", record.getAccepted())
        .text("aich", record.getAichHash())
        .boolean("partFileName", record.hasPartFileName())
        .number("date", record.date)
        .number("parts", record.partHashes.size())
        .raw("tags", tags.str())
        .str();
}

int dump(Platform& platform, const std::string& file) {
    tKnownMet knownMet(file, platform.files, platform.clock);
    knownMet.load();
    const tKnownMetList& list = *knownMet.list();
    for (std::size_t i = 0; i < list.count(); ++i)
        std::cout << recordJson(list.record(i)) << '\n';
    return std::cout.flush() ? 0 : exitFailure;
}

// OUT receives IN's bytes only once IN has loaded, then goes through the
// viewer's own load and save, so OUT is exactly what the viewer would write.
int resave(Platform& platform, const std::string& in, const std::string& out) {
    tKnownMet(in, platform.files, platform.clock).load();
    replaceFileContents(out, readWholeFile(in));
    tKnownMet knownMet(out, platform.files, platform.clock);
    knownMet.load();
    knownMet.save();
    return 0;
}

} // namespace

int runKnownCommand(const CommandArgs& args) {
    if (!args.empty() && args[0] == "repair")
        return runKnownRepair(args);
    if (!args.empty() && (args[0] == "rename" || args[0] == "forget"))
        return runKnownEdit(args);
    bool isDump = args.size() == 2 && args[0] == "dump";
    bool isResave = args.size() == 3 && args[0] == "resave";
    if (!isDump && !isResave) {
        std::cerr << "usage:\n" << knownUsage;
        return exitUsage;
    }
    NativePlatform platform;
    try {
        return isDump ? dump(platform.services(), args[1])
                      : resave(platform.services(), args[1], args[2]);
    } catch (const Error& e) {
        reportFileError(args[1], e.what());
        return exitFailure;
    }
}

} // namespace pln::tool
