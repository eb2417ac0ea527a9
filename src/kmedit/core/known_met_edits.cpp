#include "kmedit/core/known_met_edits.h"

#include "common/error.h"

namespace pln {

namespace {

constexpr std::string_view forbiddenCharacters = "\\/:*?\"<>|";

} // namespace

const std::string forbiddenCharactersWarning =
    "The following characters are not allowed in windows filenames:\r" +
    std::string(forbiddenCharacters);

std::string withoutForbiddenCharacters(std::string_view name) {
    std::string kept;
    kept.reserve(name.size());
    for (char c : name)
        if (forbiddenCharacters.find(c) == std::string_view::npos)
            kept += c;
    return kept;
}

bool renameKnownFile(tKnownMet& knownMet, std::string_view hashText, const std::string& name,
                     const tKnownMetRecord* record) {
    tKnownMetList* list = knownMet.list();
    std::size_t index = 0;
    if (!list || !list->findByHash(hashText, index))
        return false;
    if (record) {
        const tHash hash = list->record(index).hash;
        while (index < list->count() && &list->record(index) != record &&
               list->record(index).hash == hash)
            ++index;
        if (index == list->count() || &list->record(index) != record)
            return false;
    }
    list->setName(index, name);
    list->record(index).setFileName(name);
    knownMet.save();
    return true;
}

std::size_t forgetKnownFiles(tKnownMet& knownMet, const std::vector<std::string>& hashTexts,
                             const tForgetOptions& options) {
    tKnownMetList* list = knownMet.list();
    if (!list)
        throw Error("known.met has not been read");
    // Every hash is checked before anything changes.
    for (const std::string& hashText : hashTexts)
        tHash::create(hashText);
    if (options.cancelledMet) {
        for (const std::string& hashText : hashTexts)
            options.cancelledMet->addHash(hashText);
        options.cancelledMet->save();
    }
    std::size_t removed = 0;
    for (const std::string& hashText : hashTexts) {
        std::size_t index = 0;
        if (list->findByHash(hashText, index)) {
            list->extract(index);
            ++removed;
        }
    }
    try {
        knownMet.save();
    } catch (const Error& e) {
        if (!options.cancelledMet)
            throw;
        throw Error(std::string(e.what()) +
                        "\r\ncancelled.met has been saved: the files are marked as cancelled and "
                        "still known to eMule.",
                    e.kind());
    }
    if (options.logs)
        for (const std::string& hashText : hashTexts)
            if (options.logs->getLogState(hashText) != tLogState::none)
                options.logs->setLogState(hashText, tLogState::none);
    return removed;
}

} // namespace pln
