#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QString>
#include <QStringList>

// The drive, folder and file lists every folder-picking window shares. They
// follow each other only through the windows' handlers: a drive list's
// Change, a folder list's Change and Click, a file list's path. Each list
// fires its events for the user's actions and for changes made from code,
// whenever the value differs.
namespace folderlists {

// A drop-down list of the drives (see Volumes.h). Starts at the drive of the
// process's current folder.
class DriveList : public QComboBox
{
    Q_OBJECT

public:
    explicit DriveList(QWidget *parent = nullptr);

    // The chosen drive's root ("/", "/media/usb"); what the list shows may
    // add the drive's name.
    [[nodiscard]] QString drive() const;
    [[nodiscard]] int listCount() const { return count(); }
    [[nodiscard]] QString list(int index) const;
    [[nodiscard]] int listIndex() const { return currentIndex(); }
    void setListIndex(int index) { setCurrentIndex(index); }

    // Reads the drives again (a network folder was connected). The chosen
    // drive stays chosen while it is listed, else the drive of the current
    // folder is. Runs no Change.
    void refresh();

signals:
    void changed(); // Change: another drive was chosen

private:
    void fill(const QString &chosenRoot);
    bool m_filling = false;
};

// A folder list: the open folder with its parent folders above it and its
// subfolders below. Lines are indexed as List/ListIndex are: -1 is the open
// folder, -2 its parent and so on up to the root; 0 to listCount() - 1 are
// the subfolders. Starts at the process's current folder. A single click
// highlights a line (Click); a double click or Enter opens it (Change).
class DirList : public QListWidget
{
    Q_OBJECT

public:
    explicit DirList(QWidget *parent = nullptr);

    [[nodiscard]] QString path() const { return m_path; }
    // Opens a folder: the open folder becomes the highlighted line. Throws
    // imaging::Error, changing nothing, when the folder cannot be listed.
    void setPath(const QString &path);
    // Reads the subfolders again; the highlighted line stays while it is there.
    void refresh();

    [[nodiscard]] int listCount() const;
    [[nodiscard]] int listIndex() const;
    // Highlights a line, as a click does (Click when it differs).
    void setListIndex(int index);
    // The full path of a line; empty outside the list.
    [[nodiscard]] QString list(int index) const;

signals:
    void changed(); // Change: another folder was opened
    void clicked(); // Click: a line was highlighted

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void rebuild(const QString &highlightedPath);
    void highlightedRowChanged();
    void clickedOnRow();
    void openRow(int row);
    [[nodiscard]] int rowOf(int index) const { return m_openRow + 1 + index; }

    QString m_path;
    int m_openRow = 0;
    bool m_rebuilding = false;
    bool m_rowChangedByPress = false;
};

// A file list: the plain files of a folder matching a pattern ("*.*", or
// several joined by ";", letter case ignored), without hidden files.
class FileList : public QListWidget
{
    Q_OBJECT

public:
    explicit FileList(QWidget *parent = nullptr);

    [[nodiscard]] QString path() const { return m_path; }
    // Lists another folder. Throws imaging::Error, changing nothing, when
    // the folder cannot be listed.
    void setPath(const QString &path);
    [[nodiscard]] QString pattern() const { return m_pattern; }
    void setPattern(const QString &pattern);
    // Reads the folder again.
    void refresh();

    // Extended selection (shift and control clicks) instead of one line.
    void setMultiSelect(bool multiple);

    [[nodiscard]] int listCount() const { return count(); }
    [[nodiscard]] QString list(int index) const;
    [[nodiscard]] int listIndex() const { return currentRow(); }
    void setListIndex(int index) { setCurrentRow(index); }
    // The highlighted file's name; empty when none is.
    [[nodiscard]] QString fileName() const { return list(currentRow()); }
    [[nodiscard]] bool isSelected(int index) const;
    void setSelected(int index, bool selected);

signals:
    void pathChanged();
    void patternChanged();
    void clicked();
    void doubleClicked();

private:
    [[nodiscard]] QStringList nameFilters() const;

    QString m_path;
    QString m_pattern = QStringLiteral("*.*");
};

} // namespace folderlists
