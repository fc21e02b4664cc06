#include "platform/Printing.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QWidget>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

#include "base/Error.h"
#include "platform/MessageBox.h"
#include "platform/Twips.h"
#include "platform/core/Seams.h"

namespace platform {

namespace {

using imaging::Error;

constexpr int kTwipsPerInch = 1440;
constexpr double kWindowImageDpi = 300.0;
constexpr double kScreenDpi = 96.0;

bool g_pdfNoticeGiven = false;

void tellWherePdfsGoOnce(const QString &folder)
{
    if (g_pdfNoticeGiven)
        return;
    g_pdfNoticeGiven = true;
    messageBox(QStringLiteral("印刷は PDF ファイルとして次のフォルダーに保存されます。\n\n%1\n\n"
                              "ファイル名は Morvell-年月日-時分秒.pdf です。プリンターは「プリンター設定」で選べます。")
                   .arg(QDir::toNativeSeparators(folder)),
               msgbox::Information);
}

// A PDF without its trailer was cut short (a full disk).
bool endsLikeAPdf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 16)
        return false;
    file.seek(std::max<qint64>(0, file.size() - 64));
    return file.readAll().contains("%%EOF");
}

// The bytes are on the disk before the file gets its name.
bool flushToDisk(const QString &path)
{
#ifdef Q_OS_UNIX
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && ::fsync(file.handle()) == 0;
#else
    Q_UNUSED(path);
    return true;
#endif
}

QString cannotWritePdf(const QString &path)
{
    return QStringLiteral("PDF ファイルを書き込めません。\n\n%1").arg(QDir::toNativeSeparators(path));
}

} // namespace

QString documentsFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return folder.isEmpty() ? QDir::homePath() + QStringLiteral("/Documents") : folder;
}

PrinterChoice defaultPrinterChoice()
{
    PrinterChoice choice;
    choice.pdfFolder = documentsFolder();
    // The system's default queue, or any queue when none is the default.
    QPrinterInfo queue = QPrinterInfo::defaultPrinter();
    if (queue.isNull() && !QPrinterInfo::availablePrinters().isEmpty())
        queue = QPrinterInfo::availablePrinters().first();
    if (!queue.isNull()) {
        choice.output = PrinterChoice::Output::Printer;
        choice.printer = queue.printerName();
        choice.paper = queue.defaultPageSize().id();
    } else {
        choice.paper = QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter : QPageSize::A4;
    }
    return choice;
}

QString pdfPathFor(const QString &folder, const QDateTime &when, const std::function<bool(const QString &)> &taken)
{
    const QString stem = QDir(folder).filePath(QStringLiteral("Morvell-") + when.toString(QStringLiteral("yyyyMMdd-HHmmss")));
    QString path = stem + QStringLiteral(".pdf");
    for (int n = 2; taken(path); ++n)
        path = stem + QStringLiteral("-%1.pdf").arg(n);
    return path;
}

struct PrintJob::State
{
    QPrinter printer{QPrinter::HighResolution};
    QPainter painter;
    bool toPdf = false;
    QString pdfFolder;
    QString partPath; // the PDF while it is written
    bool finished = false;

    void discardPart()
    {
        if (!partPath.isEmpty())
            QFile::remove(partPath);
        partPath.clear();
    }
};

PrintJob::PrintJob(const PrinterChoice &choice)
    : m_state(std::make_unique<State>())
{
    State &s = *m_state;
    s.toPdf = choice.output == PrinterChoice::Output::Pdf;
    if (s.toPdf) {
        s.pdfFolder = choice.pdfFolder.isEmpty() ? documentsFolder() : choice.pdfFolder;
        if (!QDir().mkpath(s.pdfFolder))
            throw Error(Error::Kind::WriteFailed, QStringLiteral("PDF の保存先フォルダーを作れません。\n\n%1")
                                                      .arg(QDir::toNativeSeparators(s.pdfFolder)));
        QTemporaryFile part(QDir(s.pdfFolder).filePath(QStringLiteral(".Morvell-XXXXXX.pdf.part")));
        part.setAutoRemove(false);
        if (!part.open())
            throw Error(Error::Kind::WriteFailed, cannotWritePdf(s.pdfFolder));
        s.partPath = part.fileName();
        part.close();
        tellWherePdfsGoOnce(s.pdfFolder);
        s.printer.setOutputFormat(QPrinter::PdfFormat);
        s.printer.setOutputFileName(s.partPath);
    } else {
        const QString name = choice.printer.isEmpty() ? defaultPrinterChoice().printer : choice.printer;
        if (name.isEmpty())
            throw Error(Error::Kind::NotFound, QStringLiteral("プリンターがありません。「プリンター設定」で PDF を選んでください。"));
        if (QPrinterInfo::printerInfo(name).isNull())
            throw Error(Error::Kind::NotFound,
                        QStringLiteral("プリンター「%1」が見つかりません。「プリンター設定」で選び直してください。").arg(name));
        s.printer.setPrinterName(name);
    }
    s.printer.setDocName(QStringLiteral("Morvell Image Viewer")); // the job's title in a queue
    s.printer.setPageSize(QPageSize(choice.paper));
    s.printer.setPageOrientation(choice.orientation);
    // Margins as small as the printer allows: pages start at the corner of
    // its printable area.
    s.printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    if (!s.printer.isValid() || !s.painter.begin(&s.printer)) {
        s.discardPart();
        throw Error(Error::Kind::WriteFailed, s.toPdf ? cannotWritePdf(s.pdfFolder)
                                                      : QStringLiteral("印刷を始められません。\n\n%1").arg(s.printer.printerName()));
    }
}

PrintJob::~PrintJob()
{
    State &s = *m_state;
    if (s.finished)
        return;
    if (s.painter.isActive()) {
        s.printer.abort();
        s.painter.end();
    }
    s.discardPart();
}

QPainter &PrintJob::painter()
{
    return m_state->painter;
}

int PrintJob::resolution() const
{
    return m_state->printer.resolution();
}

void PrintJob::newPage()
{
    if (!m_state->printer.newPage())
        throw Error(Error::Kind::WriteFailed, QStringLiteral("次のページを始められません。"));
}

QString PrintJob::finish()
{
    State &s = *m_state;
    s.finished = true;
    const bool ended = s.painter.end();
    if (!s.toPdf) {
        if (!ended)
            throw Error(Error::Kind::WriteFailed,
                        QStringLiteral("プリンター「%1」に送れませんでした。").arg(s.printer.printerName()));
        return QString();
    }
    const QDateTime now = currentDateTime();
    if (!ended || !endsLikeAPdf(s.partPath) || !flushToDisk(s.partPath)) {
        s.discardPart();
        throw Error(Error::Kind::WriteFailed, cannotWritePdf(s.pdfFolder));
    }
    // QFile::rename never replaces a file: a name taken meanwhile gets the next number.
    for (;;) {
        const QString path = pdfPathFor(s.pdfFolder, now, [](const QString &p) { return QFileInfo::exists(p); });
        if (QFile::rename(s.partPath, path)) {
            s.partPath.clear();
            return path;
        }
        if (!QFileInfo::exists(path)) {
            s.discardPart();
            throw Error(Error::Kind::WriteFailed, cannotWritePdf(path));
        }
    }
}

void setPdfNoticeGiven(bool given)
{
    g_pdfNoticeGiven = given;
}

PrinterChoice &applicationPrinter()
{
    static PrinterChoice choice = defaultPrinterChoice();
    return choice;
}

namespace {

// Qt's print dialog in its setup form: printer or PDF file, paper and
// orientation, no pages or copies; its OK button says OK, since it prints
// nothing. The PDF file it shows names the folder PDFs go to.
bool realPrinterSetupDialog(QWidget *owner, PrinterChoice &choice)
{
    QPrinter printer(QPrinter::HighResolution);
    if (choice.output == PrinterChoice::Output::Printer && !choice.printer.isEmpty())
        printer.setPrinterName(choice.printer);
    const QString folder = choice.pdfFolder.isEmpty() ? documentsFolder() : choice.pdfFolder;
    if (choice.output == PrinterChoice::Output::Pdf) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(
            pdfPathFor(folder, currentDateTime(), [](const QString &p) { return QFileInfo::exists(p); }));
    }
    printer.setPageSize(QPageSize(choice.paper));
    printer.setPageOrientation(choice.orientation);

    QPrintDialog dialog(&printer, owner);
    dialog.setWindowTitle(QStringLiteral("プリンター設定"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (auto *buttons = dialog.findChild<QDialogButtonBox *>())
        if (QPushButton *ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QCoreApplication::translate("QPlatformTheme", "OK"));
    if (dialog.exec() != QDialog::Accepted)
        return false;

    if (printer.outputFormat() == QPrinter::PdfFormat) {
        choice.output = PrinterChoice::Output::Pdf;
        if (!printer.outputFileName().isEmpty())
            choice.pdfFolder = QFileInfo(printer.outputFileName()).absolutePath();
    } else {
        choice.output = PrinterChoice::Output::Printer;
        choice.printer = printer.printerName();
    }
    choice.paper = printer.pageLayout().pageSize().id();
    choice.orientation = printer.pageLayout().orientation();
    return true;
}

void realPrintWindowImage(QWidget *window)
{
    // Drawn for the page, not grabbed from the screen: the widget's own
    // painting at 300 dpi, fonts and all.
    const double ratio = kWindowImageDpi / kScreenDpi;
    QImage picture(window->size() * ratio, QImage::Format_RGB32);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::white);
    window->render(&picture);

    PrintJob job(applicationPrinter());
    const double dotsPerTwip = double(job.resolution()) / kTwipsPerInch;
    const QSizeF onPage(pixelsToTwips(window->width()) * dotsPerTwip, pixelsToTwips(window->height()) * dotsPerTwip);
    job.painter().setRenderHint(QPainter::SmoothPixmapTransform);
    job.painter().drawImage(QRectF(QPointF(0, 0), onPage), picture);
    job.finish();
}

PrinterSetupFunction &installedSetupDialog()
{
    static PrinterSetupFunction dialog;
    return dialog;
}

PrintWindowFunction &installedPrintWindow()
{
    static PrintWindowFunction print;
    return print;
}

} // namespace

bool printerSetupDialog(QWidget *owner, PrinterChoice &choice)
{
    const PrinterSetupFunction &dialog = installedSetupDialog();
    return dialog ? dialog(owner, choice) : realPrinterSetupDialog(owner, choice);
}

PrinterSetupFunction setPrinterSetupDialog(PrinterSetupFunction dialog)
{
    return std::exchange(installedSetupDialog(), std::move(dialog));
}

void printWindowImage(QWidget *window)
{
    const PrintWindowFunction &print = installedPrintWindow();
    if (print)
        print(window);
    else
        realPrintWindowImage(window);
}

PrintWindowFunction setPrintWindowImage(PrintWindowFunction print)
{
    return std::exchange(installedPrintWindow(), std::move(print));
}

} // namespace platform
