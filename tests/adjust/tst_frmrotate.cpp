#include <QtTest>

#include "AdjustTesting.h"
#include "adjust/frmRotate.h"
#include "platform/Twips.h"
#include "imaging/core/Rotate.h"

#include <clocale>
#include <string>

using namespace adjusttest;
using imaging::Ik5Disp;

namespace {

enum class Turn { None, Right90, Left90, Half, MirrorLeftRight, MirrorTopBottom };

// Where each pixel of `source` goes, written out pixel by pixel.
QImage turned(const QImage &source, Turn turn)
{
    const int w = source.width(), h = source.height();
    const bool quarter = turn == Turn::Right90 || turn == Turn::Left90;
    QImage out(quarter ? h : w, quarter ? w : h, QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            QPoint from(x, y);
            switch (turn) {
            case Turn::None: break;
            case Turn::Right90: from = {y, h - 1 - x}; break; // top-left goes to top-right
            case Turn::Left90: from = {w - 1 - y, x}; break;  // top-left goes to bottom-left
            case Turn::Half: from = {w - 1 - x, h - 1 - y}; break;
            case Turn::MirrorLeftRight: from = {w - 1 - x, y}; break;
            case Turn::MirrorTopBottom: from = {x, h - 1 - y}; break;
            }
            out.setPixel(x, y, source.pixel(from));
        }
    }
    return out;
}

QPushButton *operationButton(frmRotate *dialog, const QString &name)
{
    return dialog->findChild<QPushButton *>(name);
}

} // namespace

class TestRotate : public DialogTestBase
{
    Q_OBJECT

private:
    const QImage m_source = numbered(3, 2);
    frmviewer *m_viewer = nullptr;
    frmRotate *m_dialog = nullptr;

    void open()
    {
        m_viewer->Command8_Click();
        m_dialog = forms::get<frmRotate>();
    }

    // Types an angle into the enabled frame and presses "決定".
    void enterAngle(const QString &text, bool clockwise)
    {
        m_dialog->Check1->setChecked(true);
        (clockwise ? m_dialog->Option1 : m_dialog->Option2)->setChecked(true);
        m_dialog->Text1->setText(text);
        QTest::mouseClick(m_dialog->Command4, Qt::LeftButton);
    }

private slots:
    void init()
    {
        startTest();
        m_viewer = viewerShowing(m_source);
        m_viewer->Text3->setText(QStringLiteral("3"));
        m_viewer->Text4->setText(QStringLiteral("2"));
    }

    void cleanup() { endTest(); }

    void opensOverThePanelAreaInItsDesignState()
    {
        platform::moveTwips(m_viewer, 1500, 1200);
        open();
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(platform::positionTwips(m_dialog), QPoint(1500 + 4920, 1200 + 2550));
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Rotate"));
        QCOMPARE(m_dialog->size(), platform::twipsRect(0, 0, 4395, 2115).size());
        QVERIFY(!m_dialog->Check1->isChecked());
        QVERIFY(!m_dialog->Frame1->isEnabled());
        QVERIFY(m_dialog->Option1->isChecked());
        QVERIFY(m_dialog->Text1->text().isEmpty());
        for (QPushButton *button : {m_dialog->Command1, m_dialog->Command2, m_dialog->Command3, m_dialog->Command5,
                                    m_dialog->Command6, m_dialog->Command8})
            QVERIFY(button->isEnabled());

        // An open dialog is brought forward and moved, keeping its state.
        m_dialog->Check1->setChecked(true);
        platform::moveTwips(m_viewer, 300, 450);
        m_viewer->Command8_Click();
        QCOMPARE(forms::get<frmRotate>(), m_dialog);
        QVERIFY(m_dialog->Check1->isChecked());
        QCOMPARE(platform::positionTwips(m_dialog), QPoint(300 + 4920, 450 + 2550));
    }

    void checkBoxEnablesTheAngleEntry()
    {
        open();
        // Frame1 disabled: "決定" cannot be clicked.
        QVERIFY(!m_dialog->Command4->isEnabled());
        m_dialog->Text1->setText(QStringLiteral("90"));
        QTest::mouseClick(m_dialog->Command4, Qt::LeftButton);
        QCOMPARE(pixelsOf(m_viewer->Ik5Disp1->handle()), m_source);

        m_dialog->Check1->setChecked(true);
        for (QWidget *control : {static_cast<QWidget *>(m_dialog->Option1), static_cast<QWidget *>(m_dialog->Option2),
                                 static_cast<QWidget *>(m_dialog->Text1), static_cast<QWidget *>(m_dialog->Command4)})
            QVERIFY(control->isEnabled());
        m_dialog->Check1->setChecked(false);
        QVERIFY(!m_dialog->Frame1->isEnabled());
        QVERIFY(!m_dialog->Command4->isEnabled());
    }

    void operations_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<Turn>("turn");
        QTest::newRow("右90度 turns right") << "Command1" << Turn::Right90;
        QTest::newRow("左90度 turns left") << "Command2" << Turn::Left90;
        QTest::newRow("180度") << "Command3" << Turn::Half;
        QTest::newRow("鏡像水平 mirrors left-right") << "Command5" << Turn::MirrorLeftRight;
        QTest::newRow("鏡像垂直 mirrors top-bottom") << "Command6" << Turn::MirrorTopBottom;
    }

    // Each operation: the result replaces the working image, the old image
    // is released, the size mode and the file information stay, the
    // progress dialog came and went, and the dialog closes.
    void operations()
    {
        QFETCH(QString, button);
        QFETCH(Turn, turn);
        m_viewer->Option2->setChecked(true); // unscaled
        const imaging::Handle before = m_viewer->Ik5Disp1->handle();
        open();
        EffectWatch watch(m_viewer->Ik5Effect1);

        QTest::mouseClick(operationButton(m_dialog, button), Qt::LeftButton);

        const imaging::Handle after = m_viewer->Ik5Disp1->handle();
        QCOMPARE(pixelsOf(after), turned(m_source, turn));
        QVERIFY(!imaging::ImageStore::instance().contains(before));
        QCOMPARE(imageCount(), m_imagesBefore + 1);
        QCOMPARE(m_viewer->Ik5Disp1->sizeMode(), Ik5Disp::kUnscaled);
        QVERIFY(m_viewer->Ik5Disp1->isShowingImage());
        QCOMPARE(m_viewer->Text3->text(), QStringLiteral("3")); // not swapped by a quarter turn
        QCOMPARE(m_viewer->Text4->text(), QStringLiteral("2"));
        QCOMPARE(watch.statuses(), QStringList{kFileName + QStringLiteral("処理中")});
        QVERIFY(!forms::isLoaded<Form2>());
        QVERIFY(!forms::isLoaded<frmRotate>());
        QCOMPARE(m_viewer->Ik5Effect1->source(), before); // now a released image
        QCOMPARE(m_viewer->Ik5Effect1->result(), after);
    }

    void turnsAndBackGiveTheOriginal_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("right then left") << "Command1" << "Command2";
        QTest::newRow("180 twice") << "Command3" << "Command3";
        QTest::newRow("mirror left-right twice") << "Command5" << "Command5";
        QTest::newRow("mirror top-bottom twice") << "Command6" << "Command6";
    }

    void turnsAndBackGiveTheOriginal()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        for (const QString &button : {first, second}) {
            open(); // the dialog closes after each success
            QTest::mouseClick(operationButton(m_dialog, button), Qt::LeftButton);
        }
        QCOMPARE(pixelsOf(m_viewer->Ik5Disp1->handle()), m_source);
        QCOMPARE(imageCount(), m_imagesBefore + 1);
    }

    void typedAngle_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("clockwise");
        QTest::addColumn<Turn>("turn");
        QTest::newRow("90 clockwise turns like 右90度") << "90" << true << Turn::Right90;
        QTest::newRow("90 counter-clockwise turns like 左90度") << "90" << false << Turn::Left90;
        QTest::newRow("-90 counter-clockwise turns right") << "-90" << false << Turn::Right90;
        QTest::newRow("-90 clockwise turns left") << "-90" << true << Turn::Left90;
        QTest::newRow("180") << "180" << true << Turn::Half;
        QTest::newRow("450 is a quarter turn right") << "450" << true << Turn::Right90;
        QTest::newRow("a text without a number turns by 0") << "abc" << true << Turn::None;
    }

    void typedAngle()
    {
        QFETCH(QString, text);
        QFETCH(bool, clockwise);
        QFETCH(Turn, turn);
        const imaging::Handle before = m_viewer->Ik5Disp1->handle();
        open();
        enterAngle(text, clockwise);
        QCOMPARE(pixelsOf(m_viewer->Ik5Disp1->handle()), turned(m_source, turn));
        QVERIFY(!imaging::ImageStore::instance().contains(before));
        QVERIFY(!forms::isLoaded<frmRotate>());
    }

    // Any other angle turns onto a canvas that holds the whole image; the
    // corners it uncovers are white.
    void freeAngleFillsTheCornersWhite()
    {
        QImage black(8, 4, QImage::Format_RGB32);
        black.fill(Qt::black);
        m_viewer->replaceWorkingImage(addImage(black));
        open();
        enterAngle(QStringLiteral("45"), true);
        const QImage result = pixelsOf(m_viewer->Ik5Disp1->handle());
        QVERIFY(result.width() > 8 && result.height() > 4);
        QCOMPARE(result.pixel(0, 0), qRgb(255, 255, 255));
        QCOMPARE(result.pixel(result.width() / 2, result.height() / 2), qRgb(0, 0, 0));
    }

    // Under a language whose decimal mark is a comma, "2.5" still turns by
    // two and a half degrees (the reading once stopped at the point: 2).
    void typedAngleReadsTheSameUnderACommaLocale()
    {
        const std::string before = std::setlocale(LC_ALL, nullptr);
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
            QSKIP("the de_DE.UTF-8 locale is not installed (locale-gen)");
        const QLocale qtBefore;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const auto restore = qScopeGuard([&] {
            std::setlocale(LC_ALL, before.c_str());
            QLocale::setDefault(qtBefore);
        });
        const QImage wide = numbered(120, 6);
        m_viewer->replaceWorkingImage(addImage(wide));
        open();
        enterAngle(QStringLiteral("2.5"), true);
        const QImage result = pixelsOf(m_viewer->Ik5Disp1->handle());
        QCOMPARE(result, imaging::rotateImage(wide, 2.5, qRgb(255, 255, 255)));
        QVERIFY(result.size() != imaging::turnedCanvasSize(120, 6, 2.0));
    }

    void withoutAnImageNothingHappens_data()
    {
        QTest::addColumn<bool>("released");
        QTest::newRow("display holds no image") << false;
        QTest::newRow("another window released the image") << true;
    }

    void withoutAnImageNothingHappens()
    {
        QFETCH(bool, released);
        if (released)
            imaging::ImageStore::instance().release(m_viewer->Ik5Disp1->handle());
        else
            m_viewer->replaceWorkingImage(0);
        const auto count = imageCount();
        open();
        EffectWatch watch(m_viewer->Ik5Effect1);
        for (QPushButton *button :
             {m_dialog->Command1, m_dialog->Command2, m_dialog->Command3, m_dialog->Command5, m_dialog->Command6})
            QTest::mouseClick(button, Qt::LeftButton);
        enterAngle(QStringLiteral("1e20"), true); // not even the overflow message
        QCOMPARE(watch.calls(), 0);
        QCOMPARE(imageCount(), count);
        QVERIFY(forms::isLoaded<frmRotate>());
        QVERIFY(!forms::isLoaded<Form2>());
    }

    void angleBeyond32BitsIsRefused()
    {
        const imaging::Handle before = m_viewer->Ik5Disp1->handle();
        open();
        EffectWatch watch(m_viewer->Ik5Effect1);
        m_boxes->expect(platform::msgbox::Ok, QStringLiteral("オーバーフローしました。"));
        enterAngle(QStringLiteral("30000000"), false);
        QVERIFY(m_boxes->verify());
        QCOMPARE(watch.calls(), 0);
        QCOMPARE(m_viewer->Ik5Disp1->handle(), before);
        QCOMPARE(imageCount(), m_imagesBefore + 1);
        QVERIFY(forms::isLoaded<frmRotate>());
        QVERIFY(!forms::isLoaded<Form2>());
    }

    // A long thin image turned by 45 degrees needs a canvas beyond the size
    // limit: one message, nothing changes, the dialog stays for another try.
    void rotationBeyondTheSizeLimitIsRefused()
    {
        const imaging::Handle before = addImage(QImage(29000, 1, QImage::Format_RGB32));
        m_viewer->replaceWorkingImage(before);
        open();
        m_boxes->expect(platform::msgbox::Ok);
        enterAngle(QStringLiteral("45"), true);
        QVERIFY(m_boxes->verify());
        QCOMPARE(m_boxes->boxes().size(), 1);
        QCOMPARE(m_boxes->boxes().first().style, platform::msgbox::OkOnly | platform::msgbox::Critical);
        QCOMPARE(m_viewer->Ik5Disp1->handle(), before);
        QCOMPARE(pixelsOf(before).size(), QSize(29000, 1));
        QCOMPARE(imageCount(), m_imagesBefore + 1);
        QVERIFY(forms::isLoaded<frmRotate>());
        QVERIFY(!forms::isLoaded<Form2>());
    }

    void cancelClosesWithoutChange()
    {
        const imaging::Handle before = m_viewer->Ik5Disp1->handle();
        open();
        QTest::mouseClick(m_dialog->Command8, Qt::LeftButton);
        QVERIFY(!forms::isLoaded<frmRotate>());
        QCOMPARE(m_viewer->Ik5Disp1->handle(), before);
        QCOMPARE(imageCount(), m_imagesBefore + 1);
    }
};

QTEST_MAIN(TestRotate)
#include "tst_frmrotate.moc"
