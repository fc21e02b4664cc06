#pragma once

#include <functional>
#include <memory>

#include <QDateTime>
#include <QPageLayout>
#include <QPageSize>
#include <QString>

class QPainter;
class QPrinter;
class QWidget;

// Printing as the desktop offers it: CUPS queues when the system has any,
// otherwise (or when the user picks it) PDF files in the documents folder.
// The system's default printer is only ever read, never changed.
namespace platform {

// Where a print job goes and on what paper.
struct PrinterChoice
{
    enum class Output { Printer, Pdf };
    Output output = Output::Pdf;
    QString printer;   // a CUPS queue; empty means the system's default queue
    QString pdfFolder; // where PDF files go
    QPageSize::PageSizeId paper = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;

    friend bool operator==(const PrinterChoice &, const PrinterChoice &) = default;
};

// The XDG documents folder (~/Documents unless the desktop says otherwise).
[[nodiscard]] QString documentsFolder();

// The system's default queue when there is one, else PDF files in the
// documents folder; the paper is the queue's or the locale's.
[[nodiscard]] PrinterChoice defaultPrinterChoice();

// folder/Morvell-YYYYMMDD-HHMMSS.pdf for `when`, or -2, -3, ... before
// ".pdf" while `taken` says a name is in use.
[[nodiscard]] QString pdfPathFor(const QString &folder, const QDateTime &when,
                                 const std::function<bool(const QString &)> &taken);

// One print job on a fresh QPrinter, begun and checked. A PDF is written
// under a temporary name in its folder and gets its own name only when it is
// complete, so a PDF is whole or absent. The first PDF of a run tells the
// user where PDFs go, before it is written.
class PrintJob
{
public:
    // Throws imaging::Error when the job cannot start: the queue is gone,
    // the PDF folder cannot be made or written.
    explicit PrintJob(const PrinterChoice &choice);
    // A job not finished is abandoned: no page reaches a printer and no
    // file is left.
    ~PrintJob();
    PrintJob(const PrintJob &) = delete;
    PrintJob &operator=(const PrintJob &) = delete;

    // Painting starts at the printable area's top-left corner, in device
    // dots; resolution() dots make an inch.
    [[nodiscard]] QPainter &painter();
    [[nodiscard]] int resolution() const;
    void newPage();

    // Sends the pages to the queue, or gives the PDF its name. Throws
    // imaging::Error when that fails; nothing is left behind then. Returns
    // the PDF's path, empty for a queue.
    QString finish();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// Whether this run has told the user where PDFs go (tests set it).
void setPdfNoticeGiven(bool given);

// The printer that printing a window's image uses, as the last printer
// setup of this run left it (at first the default choice). Kept in memory only.
[[nodiscard]] PrinterChoice &applicationPrinter();

// The printer setup dialog owned by `owner`: printer or PDF (showing the
// folder PDFs go to), paper and orientation. True when the user accepted;
// `choice` then holds what was picked. Goes through the installed dialog.
bool printerSetupDialog(QWidget *owner, PrinterChoice &choice);
using PrinterSetupFunction = std::function<bool(QWidget *owner, PrinterChoice &choice)>;
PrinterSetupFunction setPrinterSetupDialog(PrinterSetupFunction dialog);

// Prints a window's image on one page of the application's printer, at the
// window's physical size (1440 twips to the inch), from the printable
// area's corner. The window is drawn for the page at 300 dots per inch, not
// grabbed from the screen, so parts outside the screen or its parent print
// too. Throws imaging::Error when the job fails. Goes through the installed
// operation.
void printWindowImage(QWidget *window);
using PrintWindowFunction = std::function<void(QWidget *window)>;
PrintWindowFunction setPrintWindowImage(PrintWindowFunction print);

} // namespace platform
