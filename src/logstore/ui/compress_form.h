#pragma once

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class tCompressForm;
}

namespace pln {

inline constexpr const char* compressThresholdHint =
    "Only parts older than this number of days will be compressed\\nParts older than 2 times this "
    "number of days will be more compressed\\netc...";

// The explanation the compress dialog shows, with the date of the last
// compression.
std::string compressExplanation(const std::string& lastCompressDate);

// Confirms a compression of every log and sets its threshold. Enter anywhere
// in the dialog confirms it and Escape cancels it, whichever control has the
// focus.
class tCompressForm : public QDialog {
    Q_OBJECT

public:
    tCompressForm(QWidget* parent, const std::string& lastCompressDate, int threshold);
    ~tCompressForm() override;

    int threshold() const;
    QString explanation() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::tCompressForm> ui_;
};

} // namespace pln
