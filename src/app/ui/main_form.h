#pragma once

#include "app/core/locations.h"
#include "app/core/process_values.h"
#include "common/prompter.h"
#include "emulefiles/core/known_met.h"
#include "platform/platform.h"

#include <QMainWindow>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <string>

namespace pln {

// The viewer's one window. It owns the process-wide objects for the life of
// the process; members are declared in the order they are created, so they
// are destroyed in the opposite order.
class tMainForm : public QMainWindow {
    Q_OBJECT

public:
    // Null when another viewer already serves this eMule configuration (or
    // its mark is not accessible): the program then ends without a word,
    // before any window appears.
    static std::unique_ptr<tMainForm> create(Platform& platform, Prompter& prompter,
                                             tLocations locations, std::uint16_t windowsVersion);
    ~tMainForm() override;

    tProcessValues& values() { return values_; }
    tKnownMet& knownMet() { return *knownMet_; }
    Prompter& prompter() { return prompter_; }

    std::string getIniString(const std::string& key, const std::string& defaultValue) const {
        return values_.settings.getIniString(key, defaultValue);
    }
    void setIniString(const std::string& key, const std::string& value) {
        values_.settings.setIniString(key, value);
    }
    int getIniInt(const std::string& key, int defaultValue) const {
        return values_.settings.getIniInt(key, defaultValue);
    }
    void setIniInt(const std::string& key, int value) { values_.settings.setIniInt(key, value); }

private:
    tMainForm(Platform& platform, Prompter& prompter, std::unique_ptr<NamedMutex> viewerMutex,
              tLocations locations, std::uint16_t windowsVersion);

    void timerTimer();

    Platform& platform_;
    Prompter& prompter_;
    std::unique_ptr<NamedMutex> viewerMutex_;
    tProcessValues values_;
    std::unique_ptr<tKnownMet> knownMet_;
    QTimer timer_;
};

} // namespace pln
