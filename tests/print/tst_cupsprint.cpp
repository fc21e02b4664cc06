#include <QtTest>

#include <pwd.h>
#include <unistd.h>

#include "app/DesignFonts.h"
#include "print/frmPrint.h"
#include "support/FormTesting.h"
#include "support/PdfPages.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/core/TestImages.h"
#include "viewer/frmviewer.h"

using namespace testsupport;

namespace {

const QString kQueue = QStringLiteral("morvell-test");
const QString kCupsPdfPpd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd");

bool writeFile(const QString &path, const QString &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) > 0;
}

// Where the cups-pdf backend puts a user's pages: its "Out" setting, ~/PDF
// unless the machine says otherwise.
QString cupsPdfOutput()
{
    QString out = QStringLiteral("${HOME}/PDF");
    QFile config(QStringLiteral("/etc/cups/cups-pdf.conf"));
    if (config.open(QIODevice::ReadOnly))
        for (const QString &line : QString::fromUtf8(config.readAll()).split(u'\n'))
            if (line.startsWith(QStringLiteral("Out ")))
                out = line.mid(4).trimmed();
    const passwd *user = getpwuid(getuid());
    return out.replace(QStringLiteral("${HOME}"), user ? QString::fromLocal8Bit(user->pw_dir) : QDir::homePath());
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
}

} // namespace

// A job from the print window through a real CUPS queue: a scheduler of
// our own on a socket of our own, with a cups-pdf queue, started here and
// stopped after. Skips, saying why, where no scheduler can start.
class TestCupsPrint : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QProcess m_cupsd;
    QString m_socket;

    QString startScheduler()
    {
        const QString cupsd = QStandardPaths::findExecutable(QStringLiteral("cupsd"), {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
        if (cupsd.isEmpty())
            return QStringLiteral("cupsd is not installed (package cups)");
        if (!QFileInfo::exists(QStringLiteral("/usr/lib/cups/backend/cups-pdf")) || !QFileInfo::exists(kCupsPdfPpd))
            return QStringLiteral("the cups-pdf queue is not installed (package printer-driver-cups-pdf)");
        if (getuid() != 0)
            return QStringLiteral("the cups-pdf backend runs only under a scheduler started as root");
        const QDir dir(m_dir.path());
        for (const char *sub : {"root", "cache", "state", "log", "tmp"})
            dir.mkpath(QString::fromLatin1(sub));
        // The filters run as the scheduler's own user and write here.
        QFile::setPermissions(dir.filePath(QStringLiteral("tmp")), QFileDevice::Permissions(0x7777));
        QFile::setPermissions(m_dir.path(), QFileDevice::Permissions(0x7755));
        m_socket = dir.filePath(QStringLiteral("cups.sock"));
        const QString conf = dir.filePath(QStringLiteral("cupsd.conf"));
        const QString files = dir.filePath(QStringLiteral("cups-files.conf"));
        writeFile(conf, QStringLiteral("Listen %1\nWebInterface No\nBrowsing No\nLogLevel info\n"
                                       "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                       "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
                            .arg(m_socket));
        writeFile(files, QStringLiteral("ServerRoot %1/root\nRequestRoot %1/spool\nCacheDir %1/cache\nStateDir %1/state\n"
                                        "TempDir %1/tmp\nErrorLog %1/log/error_log\nAccessLog %1/log/access_log\n"
                                        "PageLog %1/log/page_log\nSandboxing Relaxed\nSystemGroup root\n")
                             .arg(m_dir.path()));
        m_cupsd.start(cupsd, {QStringLiteral("-f"), QStringLiteral("-c"), conf, QStringLiteral("-s"), files});
        if (!m_cupsd.waitForStarted(5000))
            return QStringLiteral("cupsd did not start: ") + m_cupsd.errorString();
        QDeadlineTimer deadline(15000);
        while (!QFileInfo::exists(m_socket) && !deadline.hasExpired() && m_cupsd.state() == QProcess::Running)
            QThread::msleep(100);
        if (!QFileInfo::exists(m_socket))
            return QStringLiteral("cupsd did not open its socket: ") + QString::fromUtf8(m_cupsd.readAllStandardError());
        run(QStringLiteral("lpadmin"), {QStringLiteral("-h"), m_socket, QStringLiteral("-p"), kQueue, QStringLiteral("-E"),
                                       QStringLiteral("-v"), QStringLiteral("cups-pdf:/"), QStringLiteral("-P"), kCupsPdfPpd});
        if (!run(QStringLiteral("lpstat"), {QStringLiteral("-h"), m_socket, QStringLiteral("-p"), kQueue}).contains(kQueue))
            return QStringLiteral("the test queue could not be made");
        return QString();
    }

    [[nodiscard]] bool jobCompleted() const
    {
        return run(QStringLiteral("lpstat"), {QStringLiteral("-h"), m_socket, QStringLiteral("-W"), QStringLiteral("completed"),
                                              QStringLiteral("-o"), kQueue})
            .contains(kQueue + u'-');
    }

private slots:
    void initTestCase()
    {
        designfonts::install();
        const QString why = startScheduler();
        if (!why.isEmpty())
            QSKIP(qPrintable(why));
        // Before Qt's print support first asks for queues.
        qputenv("CUPS_SERVER", QFile::encodeName(m_socket));
    }

    void cleanupTestCase()
    {
        unloadAllForms();
        if (m_cupsd.state() != QProcess::NotRunning) {
            m_cupsd.terminate();
            if (!m_cupsd.waitForFinished(10000))
                m_cupsd.kill();
        }
    }

    void jobFromThePrintWindowComesOutAsAPage()
    {
        const QString out = cupsPdfOutput();
        const QStringList before = pdfsIn(out);
        QTemporaryDir current;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(current.path());
        const auto back = qScopeGuard([&] { QDir::setCurrent(previous); });
        QVERIFY(writeFile(current.filePath(QStringLiteral("Ik5Prn.Ik5")), QStringLiteral("output=printer\nprinter=%1\n").arg(kQueue)));

        frmviewer *viewer = forms::get<frmviewer>();
        viewer->replaceWorkingImage(addImage(solid(64, 48, Qt::red)));
        viewer->Text1->setText(QStringLiteral("cups.png"));
        ScriptedMessageBoxes boxes; // no PDF notice, no error
        forms::get<frmPrint>()->cmdPrint->click();
        QVERIFY(boxes.verify());
        QTRY_VERIFY_WITH_TIMEOUT(jobCompleted(), 90000);

        QStringList made;
        QTRY_VERIFY_WITH_TIMEOUT((made = pdfsIn(out), made.size() > before.size()), 30000);
        for (const QString &name : before)
            made.removeAll(name);
        QCOMPARE(made.size(), 1);
        const QString page = QDir(out).filePath(made.first());
        const auto removePage = qScopeGuard([&] { QFile::remove(page); });
        QCOMPARE(pdfPageCount(page), 1);
        // The queue's filters keep the glyphs but not their characters:
        // the header and the five lines are there, and the image.
        const QStringList lines = pdfText(page).split(u'\n');
        QCOMPARE(std::count_if(lines.begin(), lines.end(), [](const QString &line) { return !line.trimmed().isEmpty(); }), 6);
        QVERIFY(!colourBox(pdfPage(page), qRgb(255, 0, 0)).isEmpty());
        viewer->replaceWorkingImage(0);
    }
};

QTEST_MAIN(TestCupsPrint)
#include "tst_cupsprint.moc"
