#include "print/frmPrintCont.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QScopeGuard>

#include "app/Design.h"
#include "app/Module1.h"
#include "base/Error.h"
#include "imaging/widgets/DisplaySteps.h"
#include "platform/Events.h"
#include "platform/MessageBox.h"
#include "platform/Printing.h"
#include "platform/core/FolderPaths.h"
#include "print/MDIThumb.h"
#include "print/frmTumb.h"
#include "rules/TextRules.h"
#include "viewer/frmviewer.h"

using design::control;

namespace {

constexpr int kThumbnailSide = 100;
constexpr qint32 kHighQuality = -1;

void setCaptionSized(QLabel *label, const QString &caption)
{
    label->setText(caption);
    label->adjustSize();
}

} // namespace

QSize contactThumbnailSize(qint32 width, qint32 height)
{
    const auto shorter = [](qint32 side, qint32 longer) {
        return std::max(1, int(textrules::roundHalfEven(double(side) * kThumbnailSide / longer)));
    };
    if (height < width)
        return {kThumbnailSide, shorter(height, width)};
    if (width < height)
        return {shorter(width, height), kThumbnailSide};
    return {kThumbnailSide, kThumbnailSide};
}

frmPrintCont::frmPrintCont()
{
    setObjectName(QStringLiteral("frmPrintCont"));
    setWindowTitle(QStringLiteral("Printer SetUP"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    platform::setClientSizeTwips(this, 4395, 2580);

    Ik5Thumb1 = control<imaging::Ik5Thumb>(this, "Ik5Thumb1", 300, 180, 3855, 1515);
    cmdPset = control<QPushButton>(this, "cmdPset", QStringLiteral("プリンター設定"), 300, 1800, 1875, 315);
    cmdPrint = control<QPushButton>(this, "cmdPrint", QStringLiteral("ｻﾑﾈｰﾙをプリント"), 2160, 1800, 1935, 315);
    Command3 = control<QPushButton>(this, "Command3", QStringLiteral("中止"), 2160, 2100, 1935, 315);
    Label1 = control<QLabel>(this, "Label1", QString(), 360, 2220, 60, 180);
    // Below the client area: never seen.
    Ik5Thumb2 = control<imaging::Ik5Thumb>(this, "Ik5Thumb2", 2940, 2820, 495, 375);
    Ik5Disp1 = control<imaging::Ik5Disp>(this, "Ik5Disp1", 2160, 2760, 735, 675);
    // The print run only walks the folder's files, and nothing may run
    // inside it while it does.
    Ik5Thumb2->setDecodeThumbnails(false);
    Ik5Thumb2->setYieldWhileWaiting(false);

    Ik5File1 = design::faceless<imaging::Ik5File>(this, "Ik5File1");
    Ik5Common1 = design::faceless<imaging::Ik5Common>(this, "Ik5Common1");
    Ik5Effect1 = design::faceless<imaging::Ik5Effect>(this, "Ik5Effect1");

    platform::on(Ik5Thumb1, &imaging::Ik5Thumb::itemLoaded, this, &frmPrintCont::Ik5Thumb1_itemLoaded);
    platform::on(Ik5Thumb2, &imaging::Ik5Thumb::itemLoaded, this, &frmPrintCont::Ik5Thumb2_itemLoaded);
    platform::onClick(cmdPset, this, &frmPrintCont::cmdPset_Click);
    platform::onClick(cmdPrint, this, &frmPrintCont::cmdPrint_Click);
    platform::onClick(Command3, this, &frmPrintCont::Command3_Click);
}

void frmPrintCont::Form_Load()
{
    if (frmviewer *viewer = mainWindowIfLoaded())
        Ik5Thumb1->setFolder(viewer->Ik5Thumb1->folder());
    // The window is not shown yet, so the strip has not laid out its cells:
    // without this it would decode its pictures for cells of 8 pixels.
    QResizeEvent laidOut(Ik5Thumb1->size(), QSize());
    QCoreApplication::sendEvent(Ik5Thumb1, &laidOut);
    Ik5Thumb1->prepare();
    Ik5Thumb1->build();
}

void frmPrintCont::Ik5Thumb1_itemLoaded(const QString &, const QString &, int, int count)
{
    setCaptionSized(Label1, QString::number(count));
}

void frmPrintCont::cmdPset_Click()
{
    // The printer the pages go to; a failing dialog changes nothing.
    try {
        platform::PrinterChoice choice = platform::applicationPrinter();
        if (platform::printerSetupDialog(this, choice))
            platform::applicationPrinter() = choice;
    } catch (...) {
    }
}

void frmPrintCont::cmdPrint_Click()
{
    // Nothing counted (an empty caption reads as 0): nothing to print.
    if (textrules::leadingNumber(Label1->text()) == 0)
        return;
    // The run places what the folder holds now, not what the preview counted.
    Ik5Thumb2->setFolder(Ik5Thumb1->folder());
    Ik5Thumb2->prepare();
    const int count = Ik5Thumb2->itemCount();
    if (count > kMaxImages) {
        platform::messageBox(QStringLiteral("画像が %1 枚あります。一度にプリントできるのは %2 枚までです。")
                                 .arg(count)
                                 .arg(kMaxImages),
                             platform::msgbox::Exclamation);
        return;
    }
    if (count == 0)
        return;
    // Every run starts afresh, the second from the same window too.
    ThumbTotal = qint16(count);
    ThumbPage = 1;
    ThumbSlot = 0;
    ThumbPrinted = 0;
    m_printFailed = false;
    // The sheet window closes however the run ends.
    const auto closeSheet = qScopeGuard([] {
        forms::unload<frmTumb>();
        forms::unload<MDIThumb>();
    });
    forms::get<MDIThumb>()->Show();
    Ik5Thumb2->build();
    // The last page, however full, once every file has been placed.
    if (!m_printFailed && forms::isLoaded<frmTumb>() && ThumbSlot > 0)
        printPage();
}

void frmPrintCont::Command3_Click()
{
    if (frmviewer *viewer = mainWindowIfLoaded())
        viewer->Show();
    forms::unload<frmPrintCont>();
}

void frmPrintCont::Ik5Thumb2_itemLoaded(const QString &folder, const QString &file, int, int)
{
    if (m_printFailed)
        return;
    const QString folderText = folderlists::withTrailingSeparator(folder);
    frmTumb *page = forms::get<frmTumb>();
    setCaptionSized(page->Label1, QStringLiteral("DIR:") + folderText);
    setCaptionSized(page->Label2, QStringLiteral("Page") + QString::number(ThumbPage));
    page->lblName[ThumbSlot]->setText(file);
    placeThumbnail(page->picThumb[ThumbSlot], folderText + file);
    ++ThumbSlot;
    ++ThumbPrinted;
    if (ThumbSlot == frmTumb::kCells) {
        ThumbSlot = 0;
        printPage();
        ++ThumbPage;
    }
}

void frmPrintCont::placeThumbnail(QLabel *cell, const QString &path)
{
    const imaging::Handle thumbnail = readThumbnail(path);
    if (thumbnail == 0) {
        cell->clear(); // a white cell under its name
        return;
    }
    imaging::showInDisplay(Ik5Disp1, thumbnail);
    // The thumbnail reaches its cell through the clipboard.
    Ik5Effect1->setSource(Ik5Disp1->handle());
    Ik5Effect1->copyToClipboard();
    cell->setPixmap(QPixmap::fromImage(QGuiApplication::clipboard()->image()));
    Ik5Effect1->dropCopy();
    // The cell holds its own copy now: the thumbnail goes once no display shows it.
    Ik5Disp1->setStep(imaging::Ik5Disp::kStepClear);
    Ik5Disp1->perform();
    Ik5Disp1->setHandle(0);
    releaseImage(thumbnail);
}

imaging::Handle frmPrintCont::readThumbnail(const QString &path)
{
    releaseImage(Ik5File1->handle());
    Ik5File1->setHandle(0);
    Ik5File1->setPath(path);
    Ik5File1->setOperation(0);
    try {
        Ik5File1->perform();
        const imaging::Handle full = Ik5File1->handle();
        Ik5Effect1->setSource(full);
        Ik5Common1->setHandle(full);
        Ik5Common1->readAttributes();
        const QSize size = contactThumbnailSize(Ik5Common1->width(), Ik5Common1->height());
        const imaging::Handle thumbnail = Ik5Effect1->resize(size.width(), size.height(), kHighQuality);
        releaseImage(full);
        Ik5File1->setHandle(0);
        return thumbnail;
    } catch (const imaging::Error &) {
        // Damaged, too large, gone or of a format we refuse: a white cell.
        releaseImage(Ik5File1->handle());
        Ik5File1->setHandle(0);
        return 0;
    }
}

void frmPrintCont::releaseImage(imaging::Handle handle)
{
    Ik5Common1->setHandle(handle);
    Ik5Common1->release();
}

void frmPrintCont::printPage()
{
    try {
        platform::printWindowImage(forms::get<frmTumb>());
    } catch (...) {
        // The reason is shown once; the run places nothing more.
        m_printFailed = true;
        Ik5Thumb2->setCancel(true);
        forms::unload<frmTumb>();
        throw;
    }
    forms::unload<frmTumb>();
}
