#pragma once

#include <QLabel>
#include <QPushButton>
#include <QSize>

#include "imaging/core/Ik5Common.h"
#include "imaging/core/Ik5Effect.h"
#include "imaging/core/Ik5File.h"
#include "imaging/widgets/Ik5Disp.h"
#include "imaging/widgets/Ik5Thumb.h"
#include "platform/Forms.h"

class frmTumb;

// The contact sheet window "Printer SetUP": previews the main window's
// thumbnail folder, counts its images, offers the printer setup, and prints
// the folder as pages of 36 thumbnails with their names, one page window
// (frmTumb in MDIThumb) at a time.
class frmPrintCont : public platform::Form
{
    Q_OBJECT

public:
    frmPrintCont();

    // The run state counts in 16 bits.
    static constexpr int kMaxImages = 32767;

    imaging::Ik5Thumb *Ik5Thumb1; // the preview
    QPushButton *cmdPset;         // プリンター設定
    QPushButton *cmdPrint;        // ｻﾑﾈｰﾙをプリント
    QPushButton *Command3;        // 中止
    QLabel *Label1;               // the number of images
    imaging::Ik5Thumb *Ik5Thumb2; // drives the print run, out of sight
    imaging::Ik5Disp *Ik5Disp1;   // the thumbnail being placed, out of sight
    imaging::Ik5File *Ik5File1;
    imaging::Ik5Common *Ik5Common1;
    imaging::Ik5Effect *Ik5Effect1;

    void Form_Load() override;
    void Ik5Thumb1_itemLoaded(const QString &folder, const QString &file, int n, int count);
    void cmdPset_Click();
    void cmdPrint_Click();
    void Command3_Click();
    void Ik5Thumb2_itemLoaded(const QString &folder, const QString &file, int n, int count);

private:
    // Puts the file's thumbnail into a cell through the clipboard; a file
    // that cannot be read leaves the cell white.
    void placeThumbnail(QLabel *cell, const QString &path);
    // The thumbnail of the file, or 0 when it cannot be read. Only one
    // full-size image is held, and only while the thumbnail is made.
    imaging::Handle readThumbnail(const QString &path);
    void releaseImage(imaging::Handle handle);
    // Prints the page window and unloads it. A failed page ends the run.
    void printPage();

    bool m_printFailed = false;
};

// The size of a contact sheet thumbnail: the longer side 100 pixels, the
// shorter in proportion, rounded half to even, never below 1.
[[nodiscard]] QSize contactThumbnailSize(qint32 width, qint32 height);
