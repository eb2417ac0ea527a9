#pragma once

#include <QFileDialog>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace pln {

// The program's file dialogs, modal over the given window.
//
// Tests set the next answer: the dialog is then built as it would be shown,
// recorded, and answered with that file name (empty: cancelled) instead of
// being run.
class QtFileDialogs {
public:
    // The chosen file, empty when the user cancels. The default suffix is
    // added to a name typed without one; an existing file is replaced only
    // after the user agreed. The dialog starts at startFile when one is given.
    static QString getSaveFileName(QWidget* parent, const QString& caption,
                                   const QStringList& nameFilters, const QString& defaultSuffix,
                                   const QString& startFile = {});
    // The chosen existing file, empty when the user cancels; the dialog
    // starts in startFolder.
    static QString getOpenFileName(QWidget* parent, const QString& caption,
                                   const QStringList& nameFilters, const QString& defaultSuffix,
                                   const QString& startFolder);

    struct Shown {
        QString caption;
        QFileDialog::AcceptMode acceptMode;
        QStringList nameFilters;
        QString defaultSuffix;
        bool confirmOverwrite;
        // The file, or for an open dialog the folder, it started at.
        QString startFile;
    };
    static void setNextFileName(const QString& fileName);
    // The last dialog answered from a test's file name.
    static const std::optional<Shown>& lastShown();
};

} // namespace pln
