#include "app/Module1.h"

#include <QCoreApplication>
#include <QDir>

#include "app/frmSplash.h"
#include "platform/Forms.h"
#include "platform/core/Seams.h"
#include "viewer/frmviewer.h"

namespace Module1 {

QString versionText()
{
    return QStringLiteral("%1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision);
}

QString appPathFrom(const QString &programFolder)
{
    const QString separator = QDir::separator();
    // A root folder already ends in the separator and gets no second one.
    return programFolder.endsWith(separator) || programFolder.endsWith(u'/') ? programFolder
                                                                              : programFolder + separator;
}

void Main()
{
    AppPath = appPathFrom(QDir::toNativeSeparators(platform::programFolder()));
    // Loading runs the main window's Form_Load while it is still hidden.
    forms::get<frmviewer>();
    auto *splash = forms::get<frmSplash>();
    splash->Show();
    splash->repaint();
    // Setting the interval restarts the timer: the design's 5000 ms never elapse.
    splash->Timer1->setInterval(2000);
}

void endProgram()
{
    forms::unload<frmviewer>();
    forms::unloadAll();
    QCoreApplication::exit(0);
}

void resetApplicationState()
{
    AppPath.clear();
    CancelFlag = 0;
    SlideFolder.clear();
    TargetType.clear();
    FolderMode = false;
    ThumbTotal = ThumbPage = ThumbSlot = ThumbPrinted = 0;
}

} // namespace Module1
