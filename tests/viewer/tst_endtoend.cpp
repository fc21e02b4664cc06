// A user's whole session on one photo: open, trim, turn right, brighter,
// less saturated, then save as PNG and as progressive JPEG into a new folder
// with a Japanese name. With MORVELL_E2E_PHOTO set, that photo is used (a
// real 20-megapixel JPEG, say); otherwise a colourful photo made here.
// Under xvfb-run (QT_QPA_PLATFORM=xcb) it runs in real windows.

#include <QtTest>

#include "adjust/frmAkarusa.h"
#include "adjust/frmRotate.h"
#include "adjust/frmSaido.h"
#include "app/Module1.h"
#include "imaging/core/FileDialogSeam.h"
#include "imaging/core/ImageReader.h"
#include "imaging/core/ImageWriter.h"
#include "save/frmSave.h"
#include "support/FormTesting.h"
#include "support/ScriptedMessageBoxes.h"
#include "viewer/frmviewer.h"

namespace {

// Mean brightness and mean colourfulness (max - min channel) of an image.
struct Tone
{
    double luma = 0, chroma = 0;
};

Tone toneOf(const QImage &image)
{
    Tone tone;
    const qint64 pixels = qint64(image.width()) * image.height();
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int r = qRed(row[x]), g = qGreen(row[x]), b = qBlue(row[x]);
            tone.luma += 0.299 * r + 0.587 * g + 0.114 * b;
            tone.chroma += std::max({r, g, b}) - std::min({r, g, b});
        }
    }
    tone.luma /= double(pixels);
    tone.chroma /= double(pixels);
    return tone;
}

QString colourfulPhoto(const QString &folder)
{
    imaging::Image image;
    image.pixels = QImage(900, 600, QImage::Format_RGB32);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 900; ++x)
            image.pixels.setPixel(x, y, qRgb(60 + x % 150, 40 + y % 120, 180 - (x + y) % 140));
    image.dpiX = image.dpiY = 300;
    const QString path = folder + QStringLiteral("/夏の 写真.jpg");
    imaging::writeImageFile(path, image, 10, 95);
    return path;
}

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    void saveAs(const QString &folder, const QString &name, QRadioButton *frmSave::*format, bool makeFolder)
    {
        auto *viewer = forms::get<frmviewer>();
        bool answered = false;
        const QObject scope;
        QTimer::singleShot(0, &scope, [&] {
            answered = true;
            auto *dialog = forms::get<frmSave>();
            if (makeFolder) {
                dialog->txtCurdir->setText(m_dir.path());
                dialog->txtDirName->setText(QFileInfo(folder).fileName());
                dialog->Command1->click(); // new folder, entered at once
            } else {
                dialog->txtCurdir->setText(folder);
            }
            dialog->txtSavefileName->setText(name);
            (dialog->*format)->setChecked(true);
            dialog->cndSave_Click();
            forms::unload<frmSave>();
        });
        viewer->Image8_Click();
        viewer->Timer4_Timer();
        QVERIFY(answered);
    }

private slots:
    void cleanup() { testsupport::unloadAllForms(); }

    void openTrimTurnAdjustSave()
    {
        QString photo = qEnvironmentVariable("MORVELL_E2E_PHOTO");
        if (photo.isEmpty())
            photo = colourfulPhoto(m_dir.path());
        const imaging::Image original = imaging::readImageFile(photo);
        testsupport::ScriptedMessageBoxes boxes; // no message may appear

        auto *viewer = forms::get<frmviewer>();
        viewer->Show();
        imaging::setOpenFileDialog([photo](const QString &) { return photo; });
        viewer->Image2_Click();
        viewer->Timer2_Timer();
        imaging::setOpenFileDialog({});
        QCOMPARE(viewer->Text3->text().toInt(), original.pixels.width());

        // Trim: a frame drawn with the mouse over the middle of the fitted photo.
        viewer->Command6_Click();
        viewer->Check2->setChecked(true);
        const QRect shown = viewer->Ik5Disp1->imageRect();
        const QPoint from = shown.topLeft() + QPoint(shown.width() / 4, shown.height() / 4);
        const QPoint to = shown.topLeft() + QPoint(shown.width() * 3 / 4, shown.height() * 3 / 4);
        QTest::mousePress(viewer->Ik5Disp1, Qt::LeftButton, {}, from);
        QTest::mouseMove(viewer->Ik5Disp1, (from + to) / 2);
        QTest::mouseMove(viewer->Ik5Disp1, to);
        QTest::mouseRelease(viewer->Ik5Disp1, Qt::LeftButton, {}, to);
        const QSize frame(viewer->Ik5Disp1->selRight() - viewer->Ik5Disp1->selLeft(),
                          viewer->Ik5Disp1->selBottom() - viewer->Ik5Disp1->selTop());
        QVERIFY(frame.width() > original.pixels.width() / 3);
        viewer->Command5_Click();
        viewer->Command18_Click();
        const QImage trimmed = imaging::ImageStore::instance().get(viewer->Ik5Disp1->handle()).pixels;
        QCOMPARE(trimmed.size(), frame);

        // Turn right by 90 degrees.
        viewer->Command8_Click();
        forms::get<frmRotate>()->Command1->click();
        const QImage turned = imaging::ImageStore::instance().get(viewer->Ik5Disp1->handle()).pixels;
        QCOMPARE(turned.size(), frame.transposed());
        QCOMPARE(turned.pixel(turned.width() - 1, 0), trimmed.pixel(0, 0)); // top-left went to top-right

        // Brighter, then less saturated.
        viewer->Command14_Click();
        auto *brightness = forms::get<frmAkarusa>();
        brightness->HScroll1->setValue(40);
        brightness->Command1->click();
        brightness->Command2->click();
        viewer->Command16_Click();
        auto *saturation = forms::get<frmSaido>();
        saturation->HScroll1->setValue(-60);
        saturation->Command1->click();
        saturation->Command2->click();

        const QString folder = m_dir.filePath(QStringLiteral("新しい 写真集"));
        saveAs(folder, QStringLiteral("結果.png"), &frmSave::Option3, true);
        saveAs(folder, QStringLiteral("結果.jpg"), &frmSave::Option7, false);

        const Tone before = toneOf(turned);
        for (const QString &name : {QStringLiteral("結果.png"), QStringLiteral("結果.jpg")}) {
            const QString path = folder + u'/' + name;
            QVERIFY2(QFileInfo::exists(path), qPrintable(path));
            const imaging::Image saved = imaging::readImageFile(path);
            QCOMPARE(saved.pixels.size(), frame.transposed());
            const Tone after = toneOf(saved.pixels);
            QVERIFY2(after.luma > before.luma + 10, qPrintable(QString::number(after.luma - before.luma)));
            QVERIFY2(after.chroma < before.chroma * 0.6, qPrintable(QString::number(after.chroma / before.chroma)));
        }
        // MORVELL_E2E_KEEP=<folder> keeps the written files for a person to look at.
        if (const QString keep = qEnvironmentVariable("MORVELL_E2E_KEEP"); !keep.isEmpty()) {
            QDir().mkpath(keep);
            for (const QString &name : QDir(folder).entryList(QDir::Files))
                QFile::copy(folder + u'/' + name, keep + u'/' + name);
        }
        QFile jpeg(folder + QStringLiteral("/結果.jpg"));
        QVERIFY(jpeg.open(QIODevice::ReadOnly));
        const QByteArray bytes = jpeg.readAll();
        QVERIFY(bytes.contains(QByteArray("\xFF\xC2", 2))); // progressive
    }
};

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
