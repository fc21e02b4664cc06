#include <QtTest>

#include <QAccessible>

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTemporaryDir>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

#include "platform/Controls.h"
#include "platform/Events.h"
#include "platform/Forms.h"
#include "support/FormTesting.h"

using platform::PictureButton;
using platform::Timer;

namespace {

QPixmap filled(QSize size, Qt::GlobalColor colour)
{
    QPixmap pixmap(size);
    pixmap.fill(colour);
    return pixmap;
}

// A window with one control of each kind, whose handlers log their runs.
class EventForm : public platform::Form
{
public:
    EventForm()
    {
        for (int i = 0; i < 2; ++i) {
            Option1[i] = new QRadioButton(QStringLiteral("Option1(%1)").arg(i), this);
            Option1[i]->move(0, 30 * i);
        }
        Option1[0]->setChecked(true);
        Check1->move(0, 60);
        HScroll1->setGeometry(0, 90, 200, 17);
        HScroll1->setRange(0, 100);
        Text1->move(0, 120);
        resize(300, 200);
        wire();
    }

    QRadioButton *Option1[2] = {};
    QCheckBox *Check1 = new QCheckBox(QStringLiteral("Check1"), this);
    QScrollBar *HScroll1 = new QScrollBar(Qt::Horizontal, this);
    QLineEdit *Text1 = new QLineEdit(this);
    QStringList log;

    void Option1_Click(int index) { log << QStringLiteral("Option1_Click(%1)").arg(index); }
    void Check1_Click() { log << QStringLiteral("Check1_Click %1").arg(Check1->isChecked() ? 1 : 0); }
    void HScroll1_Change() { log << QStringLiteral("HScroll1_Change %1").arg(HScroll1->value()); }
    void HScroll1_Scroll(int position) { log << QStringLiteral("HScroll1_Scroll %1").arg(position); }
    void Text1_Change() { log << QStringLiteral("Text1_Change ") + Text1->text(); }

private:
    void wire()
    {
        for (int i = 0; i < 2; ++i)
            platform::onClick(Option1[i], this, [this, i] { Option1_Click(i); });
        platform::onClick(Check1, this, &EventForm::Check1_Click);
        platform::onChange(HScroll1, this, &EventForm::HScroll1_Change);
        platform::onScroll(HScroll1, this, &EventForm::HScroll1_Scroll);
        platform::onChange(Text1, this, &EventForm::Text1_Change);
    }
};

using Action = std::function<void(EventForm &)>;

// The point of a scroll bar's part, as its style lays it out.
QPoint scrollBarPart(QScrollBar *bar, QStyle::SubControl part)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.subControls = QStyle::SC_All;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar).center();
}

} // namespace

Q_DECLARE_METATYPE(Action)

class TestControls : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { testsupport::unloadAllForms(); }

    void pictureButtonClicks_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QPoint>("releaseAt");
        QTest::addColumn<int>("clicks");
        QTest::newRow("left click") << true << Qt::LeftButton << QPoint(5, 5) << 1;
        QTest::newRow("disabled ignores the click") << false << Qt::LeftButton << QPoint(5, 5) << 0;
        QTest::newRow("released outside") << true << Qt::LeftButton << QPoint(50, 50) << 0;
        QTest::newRow("right button") << true << Qt::RightButton << QPoint(5, 5) << 0;
    }
    void pictureButtonClicks()
    {
        QFETCH(bool, enabled);
        QFETCH(Qt::MouseButton, button);
        QFETCH(QPoint, releaseAt);
        QFETCH(int, clicks);
        PictureButton picture;
        picture.setPicture(filled(QSize(20, 20), Qt::red));
        picture.setEnabled(enabled);
        QSignalSpy clicked(&picture, &PictureButton::clicked);
        QTest::mousePress(&picture, button, {}, QPoint(5, 5));
        QTest::mouseRelease(&picture, button, {}, releaseAt);
        QCOMPARE(clicked.count(), clicks);
    }

    void disabledPictureButtonIsGreyed()
    {
        PictureButton picture;
        picture.setPicture(filled(QSize(8, 8), Qt::red));
        picture.setEnabled(false);
        const QColor greyed = picture.grab().toImage().pixelColor(4, 4);
        QVERIFY2(greyed.red() == greyed.green() && greyed.green() == greyed.blue(), qPrintable(greyed.name()));
        picture.setEnabled(true);
        QCOMPARE(picture.grab().toImage().pixelColor(4, 4), QColor(Qt::red));
    }

    // Found by assistive tools as a push button named by its caption, and
    // pressed from the keyboard like one.
    void pictureButtonIsAButton_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("clicks");
        QTest::newRow("Space") << true << int(Qt::Key_Space) << 1;
        QTest::newRow("Enter") << true << int(Qt::Key_Return) << 1;
        QTest::newRow("keypad Enter") << true << int(Qt::Key_Enter) << 1;
        QTest::newRow("another key") << true << int(Qt::Key_A) << 0;
        QTest::newRow("disabled ignores Space") << false << int(Qt::Key_Space) << 0;
        QTest::newRow("disabled ignores Enter") << false << int(Qt::Key_Return) << 0;
    }
    void pictureButtonIsAButton()
    {
        QFETCH(bool, enabled);
        QFETCH(int, key);
        QFETCH(int, clicks);
        QWidget window;
        auto *picture = new PictureButton(&window);
        picture->setText(QStringLiteral("開く"));
        picture->setPicture(filled(QSize(20, 20), Qt::red));
        picture->setEnabled(enabled);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(picture);
        QVERIFY(accessible);
        QCOMPARE(accessible->role(), QAccessible::Button);
        QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("開く"));
        QVERIFY(picture->focusPolicy() & Qt::TabFocus);

        QSignalSpy clicked(picture, &PictureButton::clicked);
        picture->setFocus();
        QTest::keyClick(picture, static_cast<Qt::Key>(key));
        QCOMPARE(clicked.count(), clicks);
    }

    void pictureFiles_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("loads");
        QTest::addColumn<QSize>("sizeAfter");
        QTest::newRow("a bitmap") << "pressed.bmp" << true << QSize(12, 7);
        QTest::newRow("missing file keeps the picture") << "missing.bmp" << false << QSize(20, 20);
        QTest::newRow("text under a bitmap's name keeps the picture") << "text.bmp" << false << QSize(20, 20);
        QTest::newRow("a folder keeps the picture") << "folder.bmp" << false << QSize(20, 20);
#ifdef Q_OS_UNIX
        QTest::newRow("a FIFO keeps the picture without blocking") << "fifo.bmp" << false << QSize(20, 20);
#endif
    }
    void pictureFiles()
    {
        QFETCH(QString, fileName);
        QFETCH(bool, loads);
        QFETCH(QSize, sizeAfter);
        QTemporaryDir dir;
        QVERIFY(filled(QSize(12, 7), Qt::blue).save(dir.filePath("pressed.bmp")));
        QFile text(dir.filePath("text.bmp"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("not a bitmap");
        text.close();
        QVERIFY(QDir(dir.path()).mkdir("folder.bmp"));
#ifdef Q_OS_UNIX
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("fifo.bmp")).constData(), 0600), 0);
#endif

        PictureButton picture;
        picture.setPicture(filled(QSize(20, 20), Qt::red));
        QCOMPARE(picture.setPictureFile(dir.filePath(fileName)), loads);
        QCOMPARE(picture.picture().size(), sizeAfter);
        // Without stretch the control takes the picture's size.
        QCOMPARE(picture.size(), sizeAfter);
    }

    void stretchedPictureFillsTheControl()
    {
        PictureButton picture;
        picture.setStretch(true);
        picture.resize(30, 30);
        picture.setPicture(filled(QSize(10, 10), Qt::green));
        QCOMPARE(picture.size(), QSize(30, 30));
        QCOMPARE(picture.grab().toImage().pixelColor(25, 25), QColor(Qt::green));
    }

    void timerWithoutIntervalOrDisabledNeverTicks()
    {
        Timer noInterval;
        noInterval.setEnabled(true);
        Timer disabled;
        disabled.setEnabled(false);
        disabled.setInterval(5);
        QSignalSpy noIntervalTicks(&noInterval, &Timer::timeout);
        QSignalSpy disabledTicks(&disabled, &Timer::timeout);
        QTest::qWait(60);
        QCOMPARE(noIntervalTicks.count(), 0);
        QCOMPARE(disabledTicks.count(), 0);

        disabled.setEnabled(true);
        QVERIFY(disabledTicks.wait(1000));
    }

    void settingTheIntervalRestartsTheTimer()
    {
        // Without the restart the tick would come about 300 ms after it.
        Timer timer;
        QSignalSpy ticks(&timer, &Timer::timeout);
        timer.setInterval(400);
        QTest::qWait(100);
        timer.setInterval(400);
        QElapsedTimer sinceRestart;
        sinceRestart.start();
        QVERIFY(ticks.wait(3000));
        QCOMPARE(ticks.count(), 1);
        QVERIFY2(sinceRestart.elapsed() >= 350, qPrintable(QString::number(sinceRestart.elapsed())));
    }

    void eventRules_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("option selected from code")
            << Action([](EventForm &f) { f.Option1[1]->setChecked(true); }) << QStringList{"Option1_Click(1)"};
        QTest::newRow("selected option selected again from code")
            << Action([](EventForm &f) { f.Option1[0]->setChecked(true); }) << QStringList{};
        QTest::newRow("option clicked by the user")
            << Action([](EventForm &f) { QTest::mouseClick(f.Option1[1], Qt::LeftButton); }) << QStringList{"Option1_Click(1)"};
        QTest::newRow("selected option clicked by the user")
            << Action([](EventForm &f) { QTest::mouseClick(f.Option1[0], Qt::LeftButton); }) << QStringList{};

        QTest::newRow("check box ticked and cleared from code")
            << Action([](EventForm &f) {
                   f.Check1->setChecked(true);
                   f.Check1->setChecked(true);
                   f.Check1->setChecked(false);
               })
            << QStringList{"Check1_Click 1", "Check1_Click 0"};
        QTest::newRow("check box clicked by the user")
            << Action([](EventForm &f) { QTest::mouseClick(f.Check1, Qt::LeftButton); }) << QStringList{"Check1_Click 1"};

        QTest::newRow("scroll bar set from code")
            << Action([](EventForm &f) {
                   f.HScroll1->setValue(40);
                   f.HScroll1->setValue(40);
               })
            << QStringList{"HScroll1_Change 40"};
        QTest::newRow("scroll bar set beyond its maximum")
            << Action([](EventForm &f) { f.HScroll1->setValue(500); }) << QStringList{"HScroll1_Change 100"};
        QTest::newRow("scroll bar arrow clicked by the user")
            << Action([](EventForm &f) {
                   QTest::mouseClick(f.HScroll1, Qt::LeftButton, {}, scrollBarPart(f.HScroll1, QStyle::SC_ScrollBarAddLine));
               })
            << QStringList{"HScroll1_Change 1"};
        // A drag as the style drives it: thumb down, moves, thumb up.
        QTest::newRow("scroll bar thumb dragged")
            << Action([](EventForm &f) {
                   f.HScroll1->setSliderDown(true);
                   f.HScroll1->setSliderPosition(10);
                   f.HScroll1->setSliderPosition(30);
                   f.HScroll1->setSliderDown(false);
               })
            << QStringList{"HScroll1_Scroll 10", "HScroll1_Scroll 30", "HScroll1_Change 30"};

        QTest::newRow("text set from code")
            << Action([](EventForm &f) {
                   f.Text1->setText("a");
                   f.Text1->setText("a");
                   f.Text1->setText("");
               })
            << QStringList{"Text1_Change a", "Text1_Change "};
        QTest::newRow("text typed by the user")
            << Action([](EventForm &f) { QTest::keyClicks(f.Text1, "12"); }) << QStringList{"Text1_Change 1", "Text1_Change 12"};
    }
    void eventRules()
    {
        QFETCH(Action, action);
        QFETCH(QStringList, expected);
        EventForm *form = forms::get<EventForm>();
        form->Show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        action(*form);
        QCOMPARE(form->log, expected);
    }
};

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
