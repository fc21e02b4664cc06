#pragma once

#include <map>
#include <memory>

#include <QObject>
#include <QRectF>
#include <QSize>
#include <QString>

#include "imaging/core/ImageStore.h"

class QWidget;

namespace platform {
class PrintJob;
}

namespace imaging {

// The suite's print control: opens print jobs on the printer its settings
// file names (a CUPS queue, or PDF files; see PrinterSettingsFile.h and
// platform/Printing.h) and draws images and text on their pages.
//
// Dispatch ids of the members, for comparison with the callers:
//   [53] setSettingsFile      [22] setupDialog(owner)   [23] openJob(owner)
//   [24] startPage(dev)       [25] endPage(dev)         [26] endJob(dev)
//   [6]  setOutput(int)       [8]  drawImage(dev, handle, x, y, w, h, flag)
//   [28] resetText()          [62] setFontName          [63] setFontSize
//   [64]..[72] text attributes (table below)            [73] setText
//   [14] drawTextInBox(dev, x, y, w, h)                 [15] drawTextAt(dev, x, y)
//
// Page coordinates are in 0.1 mm from the top-left corner of the printer's
// printable area, whatever the paper, so a layout drawn for A4 fits Letter
// too; the mapping is applied to coordinates only, and fonts keep their
// size in points.
//
// Text attributes, each an integer or a truth value; resetText() gives the
// values in the last column (and clears the text, font "ＭＳ ゴシック" 10 pt):
//
//   id  attribute                                            after reset
//   64  bold                                                 false
//   65  transparent background: the page shows through       true
//   66  italic                                               false
//   67  underline                                            false
//   68  word wrap in a box (#14); without it only line       true
//       breaks start new lines
//   69  text colour, 0x00BBGGRR (red in the low byte)        0 (black)
//   70  background colour, 0x00BBGGRR, when #65 is false     0xFFFFFF (white)
//   71  horizontal place in a box (#14): 0 left, 1 centre,   0
//       2 right
//   72  vertical place in a box (#14): 0 top, 1 middle,      0
//       2 bottom
//
// Text at a point (#15) always runs right and down from the point, so #71
// and #72 change only boxes. Line breaks (\n, \r\n or \r) start new lines
// in both. Font names are resolved through the substitutions the program
// installs at start-up ("ＭＳ ゴシック" is IPA Gothic), which PDFs embed.
//
// A device is the number openJob() returns; numbers are positive and never
// reused. Drawing on a number that names no open job throws
// Error(InvalidHandle) and draws nothing. Drawing an image of handle 0 or
// of a released image draws nothing and returns false.
class Ik5Print : public QObject
{
    Q_OBJECT

public:
    using Device = qint32;

    // The last argument of drawImage(): fit the image into its box keeping
    // its proportions, centred. Any other value stretches it to the box.
    static constexpr qint32 kFitKeepAspect = -1;
    // Images are sent to the printer at no more than this resolution.
    static constexpr double kMaxImageDpi = 300.0;
    // The only output there is: the open job's page.
    static constexpr int kOutputPrinter = 1;

    explicit Ik5Print(QObject *parent = nullptr);
    ~Ik5Print() override; // open jobs are abandoned

    // [53] The settings file; a bare name is found in the current folder
    // when it is used.
    void setSettingsFile(const QString &name) { m_settingsFile = name; }
    [[nodiscard]] QString settingsFile() const { return m_settingsFile; }

    // [22] The printer setup dialog, owned by `owner`. Accepted, its choice
    // is written to the settings file (a failed write is reported in a
    // message box); cancelled, the file is left untouched. True when the
    // choice was stored.
    bool setupDialog(QWidget *owner);

    // [23] Opens a job on the settings file's printer and returns its device.
    // Throws Error when the job cannot start; no device is made then.
    Device openJob(QWidget *owner);
    // [24] Starts the job's next page (the first is started by openJob).
    void startPage(Device device);
    // [25] Ends the page being drawn.
    void endPage(Device device);
    // [26] Ends the job: its pages go to the printer or become one PDF file.
    // Throws Error when that fails; the device is closed either way.
    void endJob(Device device);
    // Abandons a job: nothing is printed and no file is left.
    void abortJob(Device device);

    // [6] Where drawing goes; only kOutputPrinter is known, any other
    // value throws Error(InvalidArgument).
    void setOutput(int output);

    // [8] Draws the image handle names into the box (x, y, width, height).
    // The image is first scaled down to at most kMaxImageDpi at the size it
    // is drawn. False when there is no image to draw.
    bool drawImage(Device device, Handle handle, qint32 x, qint32 y, qint32 width, qint32 height, qint32 flag);

    void resetText(); // [28]
    void setFontName(const QString &name) { m_style.fontName = name; }            // [62]
    void setFontSize(double points) { m_style.points = points; }                   // [63]
    void setBold(bool on) { m_style.bold = on; }                                   // [64]
    void setTransparent(bool on) { m_style.transparent = on; }                     // [65]
    void setItalic(bool on) { m_style.italic = on; }                               // [66]
    void setUnderline(bool on) { m_style.underline = on; }                         // [67]
    void setWordWrap(bool on) { m_style.wordWrap = on; }                           // [68]
    void setTextColour(qint32 bgr) { m_style.textColour = bgr; }                   // [69]
    void setBackColour(qint32 bgr) { m_style.backColour = bgr; }                   // [70]
    void setHorizontalPlace(qint32 place) { m_style.horizontalPlace = place; }     // [71]
    void setVerticalPlace(qint32 place) { m_style.verticalPlace = place; }         // [72]
    void setText(const QString &text) { m_style.text = text; }                     // [73]

    // [14] The text word-wrapped inside the box, clipped to it.
    bool drawTextInBox(Device device, qint32 x, qint32 y, qint32 width, qint32 height);
    // [15] The text with the top-left of its first line at the point.
    bool drawTextAt(Device device, qint32 x, qint32 y);

    // The PDF the last ended job wrote; empty when it went to a queue.
    [[nodiscard]] QString lastPdfPath() const { return m_lastPdfPath; }

private:
    struct TextStyle
    {
        QString fontName = QStringLiteral("ＭＳ ゴシック");
        double points = 10.0;
        bool bold = false;
        bool transparent = true;
        bool italic = false;
        bool underline = false;
        bool wordWrap = true;
        qint32 textColour = 0x000000;
        qint32 backColour = 0xFFFFFF;
        qint32 horizontalPlace = 0;
        qint32 verticalPlace = 0;
        QString text;
    };
    struct Job;

    [[nodiscard]] QString settingsPath() const;
    [[nodiscard]] Job &job(Device device);
    // The job with a page started, for drawing on.
    [[nodiscard]] Job &pageOf(Device device);
    void drawText(Job &job, const QRectF &box, int flags);

    QString m_settingsFile;
    TextStyle m_style;
    std::map<Device, std::unique_ptr<Job>> m_jobs;
    Device m_lastDevice = 0;
    QString m_lastPdfPath;
};

// The part of a box an image of that size fills when fitted with its
// proportions kept, centred.
[[nodiscard]] QRectF fitKeepingAspect(QSizeF image, const QRectF &box);

// The pixel size to send an image drawn `inches` large: the image's own
// size, or smaller with its proportions kept so it is at most maxDpi there;
// each side at least 1.
[[nodiscard]] QSize pixelsToSend(QSize image, QSizeF inches, double maxDpi);

} // namespace imaging
