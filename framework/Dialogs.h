#pragma once
// The open-file dialog. Its filter is written "Description|patterns|..."
// with ";" between patterns; "*.*" means every file. Names and paths are
// 8-bit strings as the file system gives them.
#include <QObject>
#include <QStringList>
#include <QWidget>
#include <string>
#include <vector>

class TOpenDialog : public QObject {
    Q_OBJECT
public:
    explicit TOpenDialog(QWidget* owner);

    void SetDefaultExt(std::string extension) { defaultExt_ = std::move(extension); }
    // The name box's initial text; a pattern there filters the listing.
    void SetFileName(std::string fileName) { fileName_ = std::move(fileName); }
    void SetFilter(std::string filter) { filter_ = std::move(filter); }
    void SetAllowMultiSelect(bool allow) { allowMultiSelect_ = allow; }

    // Shows the dialog modally; false when the user cancels.
    bool Execute();
    // The chosen files' full paths, in the dialog's order.
    const std::vector<std::string>& Files() const { return files_; }

private:
    QWidget* owner_;
    std::string defaultExt_;
    std::string fileName_;
    std::string filter_;
    bool allowMultiSelect_ = false;
    std::vector<std::string> files_;
};

// "MP3 Files(*.mp3)|*.mp3" as Qt's name filters: "MP3 Files(*.mp3) (*.mp3)".
QStringList NameFiltersOf(const std::string& filter);
