#pragma once

// Screenshot tours: tests that draw windows to PNGs for a person to look at.
// They run only with MORVELL_SCREENSHOTS=<folder>; otherwise they skip.
// Header-only: it needs the windows library, which the tours link anyway.

#include <QDir>
#include <QWidget>
#include <QtTest>

#include "app/DesignFonts.h"
#include "app/Module1.h"
#include "imaging/core/FileDialogSeam.h"
#include "viewer/frmviewer.h"

namespace testsupport {

class ScreenshotTour
{
public:
    // Readies the folder, the design's fonts and the program folder; false
    // (the caller skips) when no folder was asked for.
    bool prepare()
    {
        const QString folder = qEnvironmentVariable("MORVELL_SCREENSHOTS");
        if (folder.isEmpty())
            return false;
        m_out = QDir(folder);
        m_out.mkpath(QStringLiteral("."));
        designfonts::install();
        AppPath = QStringLiteral(MORVELL_ART_DIR "/");
        return true;
    }

    // Draws a window to <folder>/<name>.png.
    void save(QWidget *window, const QString &name)
    {
        QVERIFY(window->grab().save(m_out.filePath(name + QStringLiteral(".png"))));
    }

    // Opens MORVELL_SCREENSHOT_PHOTO, when given, with the main window's
    // open button, as a user would.
    static void openPhoto(frmviewer *viewer)
    {
        const QString photo = qEnvironmentVariable("MORVELL_SCREENSHOT_PHOTO");
        if (photo.isEmpty())
            return;
        imaging::setOpenFileDialog([photo](const QString &) { return photo; });
        viewer->Image2_Click();
        viewer->Timer2_Timer();
        imaging::setOpenFileDialog({});
    }

private:
    QDir m_out;
};

} // namespace testsupport

#define MORVELL_SKIP_UNLESS_SCREENSHOTS(tour) \
    if (!(tour).prepare()) \
        QSKIP("set MORVELL_SCREENSHOTS to a folder to draw the windows")
