#pragma once

#include <memory>
#include <vector>

#include <QAbstractScrollArea>
#include <QImage>
#include <QString>
#include <QStringList>

namespace imaging {

class ThumbnailBuilder;

// The suite's thumbnail strip: the image files of one folder as a row of
// small pictures, kept to their proportions, that scrolls sideways. A cell is
// grey until its picture is decoded and shows a broken mark when its file
// cannot be read; its tooltip is the file name. A click or Enter on a cell
// chooses it.
//
// Dispatch ids of the members, for comparison with the callers:
//   [14] folder/setFolder   [1] prepare()   [2] build()
//   [26] setCancel(bool)    [27] chosenPath()
// Events: [9] itemLoaded(folder, file, n, count)   [11] itemChosen()
//
// prepare() lists the folder (the count is fixed from then on), empties the
// strip and clears the cancel flag. build() then decodes the pictures on
// worker threads and, on this thread and inside the call, raises itemLoaded
// once per item in order, numbered from 1. While it waits for a slow file it
// keeps the window responsive by processing events, so a handler may cancel,
// prepare a new folder or ask for a new build: the running build then ends
// at the next item and the new one runs after it. Only the small pictures
// are kept.
class Ik5Thumb : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit Ik5Thumb(QWidget *parent = nullptr);
    ~Ik5Thumb() override;

    [[nodiscard]] QString folder() const { return m_folder; }
    void setFolder(const QString &folder) { m_folder = folder; }
    void prepare();
    void build();
    void setCancel(bool cancel);
    [[nodiscard]] bool cancelRequested() const { return m_cancel; }
    // The chosen file's full path; empty before a choice.
    [[nodiscard]] QString chosenPath() const;

    // Whether build() decodes pictures at all. A strip that only drives a
    // loop over the folder's files, out of sight, turns it off.
    void setDecodeThumbnails(bool decode) { m_decode = decode; }
    // While waiting for a picture, build() processes events unless told not
    // to: a caller that must not be re-entered (a print run) turns it off.
    void setYieldWhileWaiting(bool yield) { m_yield = yield; }

    [[nodiscard]] int itemCount() const { return int(m_items.size()); }
    [[nodiscard]] bool isBuilding() const { return m_building; }
    [[nodiscard]] int selectedIndex() const { return m_selected; }
    // For tests: the picture of an item (null while grey or broken) and
    // whether it is marked broken.
    [[nodiscard]] QImage itemPicture(int index) const;
    [[nodiscard]] bool itemBroken(int index) const;
    [[nodiscard]] QRect itemRect(int index) const; // in viewport pixels

signals:
    void itemLoaded(const QString &folder, const QString &file, int n, int count);
    void itemChosen();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    struct Item
    {
        QString name;
        QImage picture;
        bool done = false;
        bool broken = false;
        QString reason;
    };

    [[nodiscard]] int cellSide() const;
    [[nodiscard]] int itemAt(QPoint viewportPoint) const;
    [[nodiscard]] QString pathOf(int index) const;
    void runBuild();
    void choose(int index);
    void updateScrollRange();

    QString m_folder;
    QString m_listedFolder;
    std::vector<Item> m_items;
    int m_selected = -1;
    bool m_cancel = false;
    bool m_decode = true;
    bool m_yield = true;
    bool m_building = false;
    bool m_buildAgain = false;
    int m_listing = 0; // counts prepare() calls
    std::unique_ptr<ThumbnailBuilder> m_builder;
};

} // namespace imaging
