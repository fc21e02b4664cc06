// The quick resize panel: the three rules on the working image, the
// file information after a resize, the validation message, failures that
// go to the error log and leave everything as it was, and 自動リサイズ,
// which hands over to the batch resize window.

#include <QtTest>

#include "app/Form2.h"
#include "app/Module1.h"
#include "batch/frmResize.h"
#include "imaging/core/ImageStore.h"
#include "support/FormTesting.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/SeamOverrides.h"
#include "support/core/TestImages.h"
#include "viewer/frmviewer.h"

using testsupport::ScriptedMessageBoxes;

namespace {

enum class Rule { Long, Short, Kbyte, Free };

// The panel's rule selected and its boxes typed.
struct Entry
{
    Rule rule;
    QString long5, short6, kbyte7, width8, height9;
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

Q_DECLARE_METATYPE(Rule)
Q_DECLARE_METATYPE(Entry)

class TestQuickResize : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_programFolder;
    std::optional<testsupport::ProgramFolderOverride> m_folder;
    testsupport::ClockOverride m_clock{QDateTime(QDate(2024, 5, 1), QTime(9, 30, 0))};

    QString logPath() const { return m_programFolder.filePath(QStringLiteral("Errlog.txt")); }

    // The panel open on a working image of that size, as if photo.jpg had
    // been opened.
    frmviewer *panelOn(QSize size)
    {
        auto *v = forms::get<frmviewer>();
        v->replaceWorkingImage(testsupport::addImage(testsupport::solid(size.width(), size.height(), Qt::darkCyan)));
        v->Text1->setText(QStringLiteral("photo.jpg"));
        v->Command19_Click();
        return v;
    }

    static void type(frmviewer *v, const Entry &entry)
    {
        v->optLong->setChecked(true);
        switch (entry.rule) {
        case Rule::Long: v->Option3->setChecked(true); break;
        case Rule::Short: v->Option3->setChecked(true); v->optShort->setChecked(true); break;
        case Rule::Kbyte: v->Option4->setChecked(true); break;
        case Rule::Free: v->Option5->setChecked(true); break;
        }
        v->Text5->setText(entry.long5);
        v->Text6->setText(entry.short6);
        v->Text7->setText(entry.kbyte7);
        v->Text8->setText(entry.width8);
        v->Text9->setText(entry.height9);
    }

    static QStringList boxesOf(const frmviewer *v)
    {
        return {v->Text5->text(), v->Text6->text(), v->Text7->text(), v->Text8->text(), v->Text9->text()};
    }

private slots:
    void init()
    {
        QVERIFY(m_programFolder.isValid());
        QFile::remove(logPath());
        m_folder.emplace(m_programFolder.path());
        AppPath = QStringLiteral(MORVELL_ART_DIR "/");
    }

    void cleanup()
    {
        testsupport::unloadAllForms();
        m_folder.reset();
        Module1::resetApplicationState();
    }

    void resizes_data()
    {
        QTest::addColumn<QSize>("image");
        QTest::addColumn<Rule>("rule");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QSize>("expected");
        QTest::addColumn<QString>("kbyte"); // the file information's size, with its fraction
        QTest::newRow("long 800, landscape") << QSize(1600, 1200) << Rule::Long << "800" << QSize(800, 600) << "1440";
        QTest::newRow("long 800, portrait") << QSize(1200, 1600) << Rule::Long << "800" << QSize(600, 800) << "1440";
        QTest::newRow("long 800, square") << QSize(1000, 1000) << Rule::Long << "800" << QSize(800, 800) << "1920";
        QTest::newRow("short 600") << QSize(1600, 1200) << Rule::Short << "600" << QSize(800, 600) << "1440";
        QTest::newRow("long 101 on 1000x999: R(100.899)") << QSize(1000, 999) << Rule::Long << "101" << QSize(101, 101)
                                                          << "30.704";
        QTest::newRow("a half goes to even: 12.5 -> 12") << QSize(16, 10) << Rule::Long << "20" << QSize(20, 12)
                                                         << "0.72";
        QTest::newRow("800.5 is 800") << QSize(1600, 1200) << Rule::Long << " 800.5 " << QSize(800, 600) << "1440";
        QTest::newRow("Kbyte: the current size") << QSize(1000, 800) << Rule::Kbyte << "2400" << QSize(1000, 800)
                                                 << "2400";
        QTest::newRow("Kbyte: a quarter halves both sides") << QSize(1000, 800) << Rule::Kbyte << "600"
                                                            << QSize(500, 400) << "600";
        QTest::newRow("free, the rest of a box ignored") << QSize(300, 200) << Rule::Free << "64px" << QSize(64, 64)
                                                         << "12.288";
    }
    void resizes()
    {
        QFETCH(QSize, image);
        QFETCH(Rule, rule);
        QFETCH(QString, value);
        QFETCH(QSize, expected);
        QFETCH(QString, kbyte);
        ScriptedMessageBoxes boxes;
        auto *v = panelOn(image);
        const imaging::Handle before = v->Ik5Disp1->handle();
        const std::size_t images = testsupport::imageCount();
        type(v, {rule, rule == Rule::Long ? value : QString(), rule == Rule::Short ? value : QString(),
                 rule == Rule::Kbyte ? value : QString(), rule == Rule::Free ? value : QString(),
                 rule == Rule::Free ? value : QString()});
        QTest::mouseClick(v->cmdResize, Qt::LeftButton);

        QCOMPARE(testsupport::pixelsOf(v->Ik5Disp1->handle()).size(), expected);
        QVERIFY(!imaging::ImageStore::instance().contains(before)); // replaced, not kept
        QCOMPARE(testsupport::imageCount(), images);
        QCOMPARE(v->Text3->text(), QString::number(expected.width()));
        QCOMPARE(v->Text4->text(), QString::number(expected.height()));
        QCOMPARE(v->Text2->text(), kbyte);
        QCOMPARE(v->Text1->text(), QStringLiteral("photo.jpg"));
        QCOMPARE(boxesOf(v), QStringList(5, QString()));
        QVERIFY(v->Frame5->isHidden());
        QVERIFY(!forms::isLoaded<Form2>());
        QVERIFY(!QFile::exists(logPath()));
    }

    // Nothing typed in the three boxes: the message, and the panel closes
    // with the boxes as they were. The free rule passes with empty boxes
    // and asks for 0 x 0, which the suite refuses: no record, nothing changes.
    void nothingTyped_data()
    {
        QTest::addColumn<Rule>("rule");
        QTest::addColumn<bool>("message");
        QTest::newRow("long side") << Rule::Long << true;
        QTest::newRow("short side") << Rule::Short << true;
        QTest::newRow("Kbyte") << Rule::Kbyte << true;
        QTest::newRow("free: 0 x 0") << Rule::Free << false;
    }
    void nothingTyped()
    {
        QFETCH(Rule, rule);
        QFETCH(bool, message);
        ScriptedMessageBoxes boxes;
        if (message)
            boxes.expect(platform::msgbox::Ok, QStringLiteral("数値を入力して下さい"));
        auto *v = panelOn({40, 30});
        const imaging::Handle before = v->Ik5Disp1->handle();
        type(v, {rule, {}, {}, {}, {}, {}});
        v->cmdResize_Click();
        if (message) {
            QCOMPARE(boxes.boxes().size(), 1);
            QCOMPARE(boxes.boxes()[0].title, QStringLiteral("Caution"));
            QCOMPARE(boxes.boxes()[0].style, int(platform::msgbox::OkOnly));
        }
        QVERIFY(boxes.verify());
        QCOMPARE(v->Frame5->isHidden(), message);
        QCOMPARE(v->Ik5Disp1->handle(), before);
        QVERIFY(!forms::isLoaded<Form2>());
        QVERIFY(!QFile::exists(logPath()));
    }

    // Less than a pixel asked for: a silent stop, everything as it was.
    void aSizeBelowOnePixelChangesNothing()
    {
        ScriptedMessageBoxes boxes;
        auto *v = panelOn({40, 30});
        const imaging::Handle before = v->Ik5Disp1->handle();
        type(v, {Rule::Free, {}, {}, {}, QStringLiteral("640px"), {}}); // 640 x 0
        v->cmdResize_Click();
        QCOMPARE(v->Ik5Disp1->handle(), before);
        QCOMPARE(boxesOf(v), (QStringList{{}, {}, {}, QStringLiteral("640px"), {}}));
        QVERIFY(!v->Frame5->isHidden());
        QVERIFY(!forms::isLoaded<Form2>());
        QVERIFY(!QFile::exists(logPath()));
    }

    // A failure writes one record with the file name box as its file and
    // shows nothing; the image, the boxes and the panel stay, and the
    // progress dialog does not stay behind.
    void failuresAreRecorded_data()
    {
        QTest::addColumn<QSize>("image");
        QTest::addColumn<Entry>("entry");
        QTest::addColumn<QString>("description");
        QTest::newRow("not a number") << QSize(40, 30) << Entry{Rule::Long, "abc", {}, {}, {}, {}}
                                      << "型が一致しません。";
        QTest::newRow("long side selected, only the short side typed")
            << QSize(40, 30) << Entry{Rule::Long, {}, "20", {}, {}, {}} << "型が一致しません。";
        QTest::newRow("a product beyond 32 bits") << QSize(1600, 1200) << Entry{Rule::Long, "2000000", {}, {}, {}, {}}
                                                  << "オーバーフローしました。";
        QTest::newRow("beyond the size an image may have")
            << QSize(1600, 1200) << Entry{Rule::Long, "200000", {}, {}, {}, {}} << "画像が大きすぎます";
        QTest::newRow("Kbyte of an image under 1 Kbyte") << QSize(1, 1) << Entry{Rule::Kbyte, {}, {}, "10", {}, {}}
                                                         << "0 で除算しました。";
        QTest::newRow("a negative Kbyte") << QSize(40, 30) << Entry{Rule::Kbyte, {}, {}, "-100", {}, {}}
                                          << "プロシージャの呼び出し、または引数が不正です。";
    }
    void failuresAreRecorded()
    {
        QFETCH(QSize, image);
        QFETCH(Entry, entry);
        QFETCH(QString, description);
        ScriptedMessageBoxes boxes; // fails on any box
        auto *v = panelOn(image);
        const imaging::Handle before = v->Ik5Disp1->handle();
        const std::size_t images = testsupport::imageCount();
        type(v, entry);
        const QStringList typed = boxesOf(v);
        QTest::mouseClick(v->cmdResize, Qt::LeftButton);

        const QByteArray log = readAll(logPath());
        QVERIFY2(log.startsWith("\"Resize Err\",\"photo.jpg\",\"" + description.toUtf8()), log.constData());
        QVERIFY(log.endsWith(",#09:30:00#\r\n"));
        QCOMPARE(log.count('\n'), 1);
        QCOMPARE(v->Ik5Disp1->handle(), before);
        QCOMPARE(testsupport::imageCount(), images);
        QCOMPARE(boxesOf(v), typed);
        QVERIFY(!v->Frame5->isHidden());
        QVERIFY(!forms::isLoaded<Form2>());
    }

    // The three rules are one group, though the frame of the side rule,
    // with option buttons of its own, lies among them.
    void theRulesAreOneGroup()
    {
        auto *v = forms::get<frmviewer>();
        const QList<QRadioButton *> rules{v->Option3, v->Option4, v->Option5};
        for (QRadioButton *from : rules)
            for (QRadioButton *to : rules) {
                from->setChecked(true);
                to->setChecked(true);
                QCOMPARE(int(std::count_if(rules.begin(), rules.end(), [](auto *r) { return r->isChecked(); })), 1);
                QVERIFY(to->isChecked() && v->optLong->isChecked());
            }
    }

    // With no image, or a released one, the button does nothing at all.
    void withoutAnImageNothingHappens()
    {
        ScriptedMessageBoxes boxes;
        auto *v = forms::get<frmviewer>();
        v->Command19_Click();
        v->Text5->setText(QStringLiteral("800"));
        v->cmdResize_Click();
        v->replaceWorkingImage(testsupport::addImage(testsupport::solid(8, 6, Qt::red)));
        imaging::ImageStore::instance().release(v->Ik5Disp1->handle());
        v->cmdResize_Click();
        QVERIFY(!v->Frame5->isHidden());
        QCOMPARE(v->Text5->text(), QStringLiteral("800"));
        QVERIFY(!QFile::exists(logPath()));
    }

    // 自動リサイズ, clicked: the batch window opens, and the main window
    // unloads itself from inside its own handler, releasing its images; it
    // is destroyed once the handler has returned.
    void batchResizeTakesTheMainWindowsPlace()
    {
        const std::size_t images = testsupport::imageCount();
        QPointer<frmviewer> v = panelOn({64, 48});
        v->Ik5File1->setHandle(testsupport::addImage(testsupport::solid(64, 48, Qt::blue))); // the image read
        v->Show();
        QTest::mouseClick(v->Command23, Qt::LeftButton);
        QVERIFY(!forms::isLoaded<frmviewer>());
        QVERIFY(forms::isLoaded<frmResize>());
        QVERIFY(forms::get<frmResize>()->isVisible());
        QCOMPARE(testsupport::imageCount(), images);
        QTRY_VERIFY(v.isNull());
    }
};

QTEST_MAIN(TestQuickResize)
#include "tst_quickresize.moc"
