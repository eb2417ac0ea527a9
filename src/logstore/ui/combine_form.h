#pragma once

#include "logstore/core/log_types.h"

#include <QDialog>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class QButtonGroup;

namespace Ui {
class tCombineForm;
}

namespace pln {

class tLogFile;

// The properties of a combined log: the operation on its two sources, its
// title, graph, multiplier, units and maximum. A new combined log is given
// its two sources; an existing one keeps them.
class tCombineForm : public QDialog {
    Q_OBJECT

public:
    // logsFolder ends with a separator; a title is refused when a log of
    // that name is in it.
    tCombineForm(QWidget* parent, std::string logsFolder);
    ~tCombineForm() override;

    // New mode: the first (0) or second (1) source.
    void setSource(int index, const tLogFile& log);
    // Edit mode: the controls show the log's properties.
    void setEditedLog(const tLogFile& log);

    tLogOperation operation() const;
    std::string title() const;
    std::uint8_t flags() const;
    double multiplier() const;
    std::string units() const;
    // The missing value when no maximum is used.
    double maxValue() const;

    bool validate() const;
    // FormCloseQuery: only Cancel closes while validate fails.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void updateOkBtn();
    void updateOperationTexts();
    void useMaxValueBoxClick();
    // Empty when the maximum is ticked but not a finite number.
    std::optional<double> enteredMaxValue() const;

    std::unique_ptr<Ui::tCombineForm> ui_;
    QButtonGroup* operations_;
    std::string logsFolder_;
    std::array<std::string, 2> sourceNames_{"%1", "%2"};
    std::string editedName_;
    // The edited log's multiplier and its shown text: "%g" rounds it, and a
    // text left as shown keeps the exact value.
    double editedMultiplier_ = 1.0;
    QString shownMultiplier_;
    // The same for the maximum.
    double editedMaxValue_ = 0;
    QString shownMaxValue_;
};

} // namespace pln
