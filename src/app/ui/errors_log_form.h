#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

class QAction;

namespace Ui {
class tErrorsLogForm;
}

namespace pln {

class Prompter;
class tActionRefresh;
class tRecorderLinkQt;

// The recorder's errors, one per line, in a fixed-pitch read-only box.
class tErrorsLogForm : public QDialog {
    Q_OBJECT

public:
    tErrorsLogForm(QWidget* parent, const std::vector<std::string>& lines);
    ~tErrorsLogForm() override;

    QString text() const;

private:
    std::unique_ptr<Ui::tErrorsLogForm> ui_;
};

// aFileRecErrorsLogUpdate: the recorder has written errors.log.
bool errorsLogExists(const std::string& dataFolder);

// aFileRecErrorsLogExecute: reads errors.log (the file itself is never
// changed), tells the recorder that its errors have been seen, and shows
// them. A file that cannot be read is reported instead.
void aFileRecErrorsLogExecute(QWidget* parent, const std::string& dataFolder,
                              tRecorderLinkQt& recorder, Prompter& prompter);

// The action shows the errors log over the window, and is enabled on each
// refresh while the recorder has written one.
void bindErrorsLogAction(QAction& action, tActionRefresh& refresh, QWidget& window,
                         const std::string& dataFolder, tRecorderLinkQt& recorder,
                         Prompter& prompter);

} // namespace pln
