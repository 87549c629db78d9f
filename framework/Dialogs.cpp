#include "framework/Dialogs.h"

#include "framework/AnsiText.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QPointer>

TOpenDialog::TOpenDialog(QWidget* owner) : QObject(owner), owner_(owner) {}

bool TOpenDialog::Execute()
{
    QFileDialog dialog(owner_);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The descriptions already show their patterns.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(allowMultiSelect_ ? QFileDialog::ExistingFiles : QFileDialog::AnyFile);
    dialog.setNameFilters(NameFiltersOf(filter_));
    dialog.setDefaultSuffix(FromAnsi(defaultExt_));
    if (!fileName_.empty())
        dialog.selectFile(FromAnsi(fileName_));
    const QPointer<QWidget> previouslyActive = QApplication::activeWindow();
    const int result = dialog.exec();
    // The window that was active before is active again, keyboard focus and
    // all, also where no window manager hands it back.
    if (previouslyActive != nullptr && previouslyActive->isVisible())
        previouslyActive->activateWindow();
    if (result != QDialog::Accepted)
        return false;
    files_.clear();
    for (const QString& file : dialog.selectedFiles())
        files_.push_back(QFile::encodeName(file).toStdString());
    return true;
}

QStringList NameFiltersOf(const std::string& filter)
{
    const QStringList parts = FromAnsi(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
        for (QString& pattern : patterns)
            if (pattern.trimmed() == "*.*")
                pattern = "*";
        filters << parts[i] + " (" + patterns.join(' ') + ")";
    }
    return filters;
}
