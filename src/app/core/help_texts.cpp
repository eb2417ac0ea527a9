#include "app/core/help_texts.h"

#include "common/error.h"

#include <algorithm>

namespace pln {

namespace {

// The period, in hours, at which the oldest parts of the logs keep one value.
constexpr int oldestKeptHours = 6;
constexpr int fastestDownloadSeconds = 30;

std::string withoutAccessKeys(std::string text) {
    std::erase(text, '&');
    return text;
}

std::string replaceFirst(std::string text, const std::string& what, const std::string& by) {
    const std::size_t at = text.find(what);
    if (at != std::string::npos)
        text.replace(at, what.size(), by);
    return text;
}

} // namespace

std::vector<std::string> tipTexts(const tTipCaptions& captions, int compressionThreshold) {
    std::string compress = format(
        R"(If your log files are becoming too large, you can use the menu "%s" -> "%s" to reduce their size.\n\nThis will delete some of the recorded values in every log file, but only in parts older than %d days (the older, the more compressed).\n\nIn the oldest parts, at least one value every %d hours will be kept.)",
        {captions.fileMenu, captions.compressLogs});
    compress = replaceFirst(compress, "%d", std::to_string(compressionThreshold));
    compress = replaceFirst(compress, "%d", std::to_string(oldestKeptHours));

    const std::string newLogs = format(
        R"(You can log any numeric value from any .ini file located the eMule\config directory.\nUse the menu "%s" -> "%s" to add new logs.)",
        {captions.statsMenu, captions.newLog});

    std::string dled = format(
        R"(The "DLed" and "DL time" columns are only indicative.\n\nIn the "DLed" column:\n- "%s" means that the file has probably been copied from a CD or another drive (the creation date is more recent than the last modification date)\n- "%s" means that less than %d seconds ellapsed between the creation and the last modification of the file (which is very fast for an emule download...)\n- "%s" means that there's no way to guess if the file has been downloaded or not\n- "%s" just means %s (there's still a PARTFILENAME tag for this file)\n\nThe "DL time" column shows the difference between the last modification date and the creation date of the file. This is only meaningful for files that have actually been downloaded, and never modified since completion.)",
        {"No", "Unlikely", "Maybe", "Yes", "Yes"});
    dled = replaceFirst(dled, "%d", std::to_string(fastestDownloadSeconds));

    return {
        R"(Right-click on a column title to reverse its sort order without changing the columns priority.)",
        R"(You can use the Shift and Ctrl keys to select multiple items.\n\nWhen several items are selected, pressing space or clicking in a checkbox will activate / unactivate the logs of all the selected items.)",
        R"(You can use the two scrollbars at the bottom to zoom and/or scroll the graphics.\nAlternatively, you can shift-click / ctrl-click on the graphs to zoom / unzoom and center on the clicked point.)",
        R"(Don't expect to see nice graphics at once:\n\n- The logs are updated every 11 minutes (when eMule saves known.met).\n- Due to the way the graphs are computed, at least 4 values are needed before anything is shown on the graphs (that is, after 44 minutes).\n- And anyway, to get useful and significant results, you will have to wait at least several hours... if not several days.)",
        withoutAccessKeys(compress),
        withoutAccessKeys(newLogs),
        withoutAccessKeys(dled),
        R"(Double click on a graphic to add a special event at a given date.\nExamples:\n07/08/2006 = new ISP\n09/20/2006 = Enabled obfuscation\n\nAn event can be associated to a specific file.\nExample:\n10/15/2006 = changed from release to auto priority)",
        R"(You can rename unshared known files, or set them to unknown or cancelled state.\nSee the "Known files" -> "Edit known.met" menu.\n\nNote that those features are disabled if:\n- EMule is running\n- At least one of the selected files is still shared\n- Known.met has been modified since you have started PLN or reloaded the known files list.)",
        R"(If the PLN icon in the notification area (AKA sysTray) shows a red ! this means that the recorder encountered an error.\nEach recorder's error is saved in a log which can be viewed from the viewer's file menu.)",
        R"(It's possible to combine two existing eMule stats logs into a single graph.\n\nFor example, to create a graph for the "Average uploaded per session" stat:\n- Select both the "TotalUploadedBytes" and "UpSuccessfulSessions" logs\n- In the context menu, choose "Combine logs..."\n- Select the division operation.)",
    };
}

std::vector<std::string> noteTexts(const std::string& runtimeAxisName) {
    return {
        format(
            R"(Please do not delete the ConnRunTime log ("statistics.ini-statistics,ConnRunTime.pln"), unless you want to delete ALL your logs.\n\nThis log is required to display the graphics with the "%s" on the horizontal axis (default setting).)",
            {runtimeAxisName}),
        "With eMule v0.48a and above, If you want to change eMule multi-users settings once PLN "
        "is installed, you should proceed as following:\r\n\r\n"
        "- First close PLN (both viewer and recorder)\r\n"
        "- Change eMule settings\r\n"
        "- Close eMule\r\n"
        "- Copy or move your emule files (known.met, cancelled.met, statistics.ini, shared files, "
        "temp files...) to their new locations (unless you want a fresh eMule install, of "
        "course)\r\n"
        "- Restart eMule and make sure it's correctly configured\r\n"
        "- Start PLN (New config files and new default logs will be created)\r\n"
        "- Close PLN (both viewer and recorder)\r\n"
        "- Copy or move your PLN logs and config files (PLN.ini, events.log and content of "
        "PLN\\logs folder) to their new locations (If you haved moved your old eMule files, of "
        "course)\r\n"
        "- Restart PLN",
        R"(eMule versions prior to 0.43a saved the statistics in preferences.ini; from 0.43a, the stats are saved in statistics.ini.\nBoth old and new versions are supported, but if ever you reinstall an old version in place of a new one, you will have to:\n- copy the stats from statistics.ini to preferences.ini, to update the old style stats;\n- delete (or rename) the statistics.ini file, because PLN does not test the eMule version number; it always uses statistics.ini if found...)",
    };
}

tTextPager::tTextPager(std::vector<std::string> texts, std::size_t first)
    : texts_(std::move(texts)), index_(texts_.empty() ? 0 : first % texts_.size()) {}

std::string tTextPager::current() const {
    if (texts_.empty())
        return {};
    std::string text = texts_[index_];
    for (std::size_t at = text.find("\\n"); at != std::string::npos; at = text.find("\\n", at + 1))
        text.replace(at, 2, "\n");
    return text;
}

void tTextPager::next() {
    if (!texts_.empty())
        index_ = (index_ + 1) % texts_.size();
}

void tTextPager::previous() {
    if (!texts_.empty())
        index_ = (index_ + texts_.size() - 1) % texts_.size();
}

} // namespace pln
