#include <array>
#include <functional>

#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QtTest>

#include "EffectTestImages.h"
#include "base/Error.h"
#include "imaging/core/Ik5Effect.h"
#include "imaging/core/Image.h"
#include "imaging/core/Rotate.h"

using namespace imaging;
using namespace testimages;

namespace {

using EffectCall = std::function<Handle(Ik5Effect &)>;

} // namespace

Q_DECLARE_METATYPE(EffectCall)

namespace {

// One call of every effect with arguments as the windows pass them.
QList<QPair<const char *, EffectCall>> everyEffect()
{
    static const std::array<qint32, 4> xs{1, 4, 4, 1};
    static const std::array<qint32, 4> ys{1, 1, 3, 3};
    return {
        {"resize", [](Ik5Effect &e) { return e.resize(8, 5, -1); }},
        {"rotate right", [](Ik5Effect &e) { return e.rotate(-9000, 0, 0, 0, 255, 255, 255, 0); }},
        {"rotate typed angle", [](Ik5Effect &e) { return e.rotate(3000, 0, 0, -1, 255, 255, 255, 0); }},
        {"mirror", [](Ik5Effect &e) { return e.rotate(0, -1, 0, 0, 255, 255, 255, 0); }},
        {"cut", [](Ik5Effect &e) { return e.cutPolygon(xs, ys, 4, 0, 0, 0); }},
        {"brightness", [](Ik5Effect &e) { return e.brightness(0, 0, 0, 40, 40, 40); }},
        {"contrast", [](Ik5Effect &e) { return e.contrast(0, 0, 0, 0.5, 0.5, 0.5); }},
        {"saturation", [](Ik5Effect &e) { return e.saturation(0, 0, 0, 50); }},
    };
}

void addEveryEffectRow()
{
    QTest::addColumn<EffectCall>("call");
    for (const auto &[name, call] : everyEffect())
        QTest::newRow(name) << call;
}

} // namespace

class TestIk5Effect : public QObject
{
    Q_OBJECT

private slots:
    void everyEffectMakesANewImageAndKeepsTheSource_data() { addEveryEffectRow(); }
    void everyEffectMakesANewImageAndKeepsTheSource()
    {
        QFETCH(EffectCall, call);
        const QImage original = numbered(6, 4);
        const Handle source = add(original, 300, 150);
        Ik5Effect effect;
        effect.setSource(source);
        const Handle made = call(effect);
        QVERIFY(made != 0);
        QVERIFY(made != source);
        QCOMPARE(effect.result(), made);
        QCOMPARE(effect.source(), source);
        QCOMPARE(pixelsOf(source), original);
        QCOMPARE(ImageStore::instance().get(source).dpiX, 300.0);
        QCOMPARE(pixelsOf(made).format(), QImage::Format_RGB32);
        ImageStore::instance().release(made);
        ImageStore::instance().release(source);
    }

    void everyEffectRefusesAStaleSource_data() { addEveryEffectRow(); }
    void everyEffectRefusesAStaleSource()
    {
        QFETCH(EffectCall, call);
        const Handle released = add(numbered(6, 4));
        ImageStore::instance().release(released);
        for (const Handle source : {Handle(0), released}) {
            Ik5Effect effect;
            effect.setSource(source);
            const auto count = ImageStore::instance().count();
            QCOMPARE(errorKindOf([&] { (void)call(effect); }), Error::Kind::InvalidHandle);
            QCOMPARE(effect.result(), Handle(0));
            QCOMPARE(ImageStore::instance().count(), count);
        }
    }

    void everyEffectReportsWholeProgress_data() { addEveryEffectRow(); }
    void everyEffectReportsWholeProgress()
    {
        QFETCH(EffectCall, call);
        const Handle source = add(numbered(6, 4));
        Ik5Effect effect;
        effect.setSource(source);
        QList<int> percents;
        connect(&effect, &Ik5Effect::progress, this, [&](int p) { percents.append(p); });
        const Handle made = call(effect);
        QString why;
        QVERIFY2(isWholeProgress(percents, &why), qPrintable(why));
        ImageStore::instance().release(made);
        ImageStore::instance().release(source);
    }

    void progressOfALargeResizeIsBounded()
    {
        const Handle source = add(numbered(300, 900));
        Ik5Effect effect;
        effect.setSource(source);
        QList<int> percents;
        connect(&effect, &Ik5Effect::progress, this, [&](int p) { percents.append(p); });
        const Handle made = effect.resize(100, 800, -1);
        QString why;
        QVERIFY2(isWholeProgress(percents, &why), qPrintable(why));
        QVERIFY(percents.size() > 2);
        ImageStore::instance().release(made);
        ImageStore::instance().release(source);
    }

    // A progress handler yields to the event loop, where the user may close
    // the image being worked on; the effect must finish on its own copy.
    void sourceReleasedDuringProgressIsSafe()
    {
        const Handle source = add(numbered(40, 300));
        Ik5Effect effect;
        effect.setSource(source);
        connect(&effect, &Ik5Effect::progress, this, [&] { ImageStore::instance().release(source); });
        const Handle made = effect.saturation(0, 0, 0, 30);
        QVERIFY(!ImageStore::instance().contains(source));
        QCOMPARE(pixelsOf(made).size(), QSize(40, 300));
        ImageStore::instance().release(made);
    }

    void resizeBelowOnePixelGivesNoImageWithoutAnError_data()
    {
        QTest::addColumn<qint32>("width");
        QTest::addColumn<qint32>("height");
        QTest::newRow("0 x 0, as empty boxes ask") << 0 << 0;
        QTest::newRow("640 x 0") << 640 << 0;
        QTest::newRow("negative width") << -5 << 10;
    }
    void resizeBelowOnePixelGivesNoImageWithoutAnError()
    {
        QFETCH(qint32, width);
        QFETCH(qint32, height);
        const Handle source = add(numbered(6, 4));
        Ik5Effect effect;
        effect.setSource(source);
        const Handle previous = effect.brightness(0, 0, 0, 1, 1, 1);
        const auto count = ImageStore::instance().count();
        QCOMPARE(effect.resize(width, height, -1), Handle(0));
        QCOMPARE(effect.result(), Handle(0));
        QCOMPARE(ImageStore::instance().count(), count);
        ImageStore::instance().release(previous);
        ImageStore::instance().release(source);
    }

    void resizeKeepsTheResolution()
    {
        const Handle source = add(numbered(60, 40), 300, 72);
        Ik5Effect effect;
        effect.setSource(source);
        const Image &made = ImageStore::instance().get(effect.resize(30, 20, -1));
        QCOMPARE(made.pixels.size(), QSize(30, 20));
        QCOMPARE(made.dpiX, 300.0);
        QCOMPARE(made.dpiY, 72.0);
    }

    void resultsBeyondTheLimitsAreRefused_data()
    {
        QTest::addColumn<EffectCall>("call");
        QTest::newRow("resize to 40000 x 10") << EffectCall([](Ik5Effect &e) { return e.resize(40000, 10, -1); });
        QTest::newRow("resize to 20000 x 20000")
            << EffectCall([](Ik5Effect &e) { return e.resize(20000, 20000, -1); });
        QTest::newRow("turn a 30000 px line by 45 degrees")
            << EffectCall([](Ik5Effect &e) { return e.rotate(4500, 0, 0, -1, 255, 255, 255, 0); });
    }
    void resultsBeyondTheLimitsAreRefused()
    {
        QFETCH(EffectCall, call);
        const Handle source = add(solid(int(kMaxSide), 1, qRgb(1, 2, 3)));
        Ik5Effect effect;
        effect.setSource(source);
        QCOMPARE(errorKindOf([&] { (void)call(effect); }), Error::Kind::TooLarge);
        QCOMPARE(effect.result(), Handle(0));
        ImageStore::instance().release(source);
    }

    // The fixed buttons pass -9000 for "right 90" and 9000 for "left 90";
    // a typed angle passes +9000 for 90 degrees clockwise.
    void rotationSignConventions_data()
    {
        QTest::addColumn<qint32>("angle");
        QTest::addColumn<qint32>("freeAngle");
        QTest::addColumn<int>("clockwiseQuarterTurns");
        QTest::newRow("right 90 button") << -9000 << 0 << 1;
        QTest::newRow("left 90 button") << 9000 << 0 << -1;
        QTest::newRow("180 button") << 18000 << 0 << 2;
        QTest::newRow("typed 90 clockwise") << 9000 << -1 << 1;
        QTest::newRow("typed 90 counter-clockwise") << -9000 << -1 << -1;
        QTest::newRow("typed 450 is 90 clockwise") << 45000 << -1 << 1;
        QTest::newRow("typed 0, as an empty box gives") << 0 << -1 << 0;
    }
    void rotationSignConventions()
    {
        QFETCH(qint32, angle);
        QFETCH(qint32, freeAngle);
        QFETCH(int, clockwiseQuarterTurns);
        const QImage original = numbered(5, 3);
        const Handle source = add(original);
        Ik5Effect effect;
        effect.setSource(source);
        const Handle made = effect.rotate(angle, 0, 0, freeAngle, 255, 255, 255, 0);
        QCOMPARE(pixelsOf(made), turnImage(original, clockwiseQuarterTurns));
        ImageStore::instance().release(made);
        ImageStore::instance().release(source);
    }

    void rightThenLeftGivesTheOriginal()
    {
        const QImage original = numbered(5, 3);
        const Handle source = add(original);
        Ik5Effect effect;
        effect.setSource(source);
        effect.setSource(effect.rotate(-9000, 0, 0, 0, 255, 255, 255, 0));
        const Handle back = effect.rotate(9000, 0, 0, 0, 255, 255, 255, 0);
        QCOMPARE(pixelsOf(back), original);
    }

    void quarterTurnsSwapTheResolution_data()
    {
        QTest::addColumn<qint32>("angle");
        QTest::addColumn<bool>("swapped");
        QTest::newRow("right 90") << -9000 << true;
        QTest::newRow("left 90") << 9000 << true;
        QTest::newRow("180") << 18000 << false;
    }
    void quarterTurnsSwapTheResolution()
    {
        QFETCH(qint32, angle);
        QFETCH(bool, swapped);
        Ik5Effect effect;
        effect.setSource(add(numbered(4, 2), 300, 100));
        const Image &made = ImageStore::instance().get(effect.rotate(angle, 0, 0, 0, 255, 255, 255, 0));
        QCOMPARE(made.dpiX, swapped ? 100.0 : 300.0);
        QCOMPARE(made.dpiY, swapped ? 300.0 : 100.0);
    }

    void mirrorArgumentsMirror_data()
    {
        QTest::addColumn<qint32>("horizontal");
        QTest::addColumn<qint32>("vertical");
        QTest::newRow("horizontal button") << -1 << 0;
        QTest::newRow("vertical button") << 0 << -1;
    }
    void mirrorArgumentsMirror()
    {
        QFETCH(qint32, horizontal);
        QFETCH(qint32, vertical);
        const QImage original = numbered(5, 3);
        Ik5Effect effect;
        effect.setSource(add(original));
        const Handle made = effect.rotate(0, horizontal, vertical, 0, 255, 255, 255, 0);
        QCOMPARE(pixelsOf(made), original.mirrored(horizontal != 0, vertical != 0));
    }

    void typedAngleFillsCornersWithTheGivenColour()
    {
        Ik5Effect effect;
        effect.setSource(add(solid(30, 10, qRgb(0, 0, 0))));
        const QImage &white = pixelsOf(effect.rotate(3000, 0, 0, -1, 255, 255, 255, 0));
        QCOMPARE(white.size(), turnedCanvasSize(30, 10, 30.0));
        QCOMPARE(white.pixel(0, 0), qRgb(255, 255, 255));
        const QImage &green = pixelsOf(effect.rotate(3000, 0, 0, -1, 0, 200, 0, 0));
        QCOMPARE(green.pixel(0, 0), qRgb(0, 200, 0));
        QCOMPARE(errorKindOf([&] { (void)effect.rotate(3000, 0, 0, -1, 256, 0, 0, 0); }),
                 Error::Kind::InvalidArgument);
        QCOMPARE(errorKindOf([&] { (void)effect.rotate(3000, 0, 0, -1, 0, -1, 0, 0); }),
                 Error::Kind::InvalidArgument);
    }

    void cutAsTrimmingCallsIt()
    {
        const QImage original = numbered(20, 10);
        Ik5Effect effect;
        effect.setSource(add(original));
        effect.setOptionMode(2);
        effect.setOptionFlag(true);
        const std::array<qint32, 4> xs{2, 12, 12, 2};
        const std::array<qint32, 4> ys{1, 1, 8, 8};
        const Handle made = effect.cutPolygon(xs, ys, 4, 0, 0, 0);
        QCOMPARE(pixelsOf(made), original.copy(2, 1, 10, 7));
        QCOMPARE(effect.optionMode(), qint16(2));
        QVERIFY(effect.optionFlag());
    }

    void aFailedCallLeavesNoResult()
    {
        Ik5Effect effect;
        effect.setSource(add(numbered(6, 4)));
        QVERIFY(effect.brightness(0, 0, 0, 10, 10, 10) != 0);
        QCOMPARE(errorKindOf([&] { (void)effect.saturation(0, 0, 0, 2000); }), Error::Kind::InvalidArgument);
        QCOMPARE(effect.result(), Handle(0));
    }

    // The brightness dialog's protocol: the saved copy survives whatever the
    // user puts on the clipboard meanwhile, and the release of the image it
    // was taken from.
    void clipboardCopyIsPrivate()
    {
        const QImage original = numbered(8, 6);
        const Handle source = add(original, 200, 100);
        Ik5Effect effect;
        effect.setSource(source);
        QVERIFY(!effect.hasCopy());

        effect.copyToClipboard();
        QVERIFY(effect.hasCopy());
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), original);

        QGuiApplication::clipboard()->setImage(solid(3, 3, qRgb(9, 9, 9)));
        QGuiApplication::clipboard()->setText(QStringLiteral("something else"));
        ImageStore::instance().release(source);

        const Handle first = effect.newFromCopy();
        const Handle second = effect.newFromCopy();
        QVERIFY(first != 0 && second != 0 && first != second);
        QCOMPARE(effect.result(), second);
        QCOMPARE(pixelsOf(first), original);
        QCOMPARE(pixelsOf(second), original);
        QCOMPARE(ImageStore::instance().get(first).dpiX, 200.0);
        QVERIFY(effect.hasCopy());

        effect.dropCopy();
        QVERIFY(!effect.hasCopy());
        QCOMPARE(errorKindOf([&] { (void)effect.newFromCopy(); }), Error::Kind::InvalidHandle);
        QCOMPARE(effect.result(), Handle(0));
    }

    void copyOfAStaleSourceKeepsTheOldCopy()
    {
        const QImage original = numbered(4, 4);
        Ik5Effect effect;
        effect.setSource(add(original));
        effect.copyToClipboard();
        effect.setSource(0);
        QCOMPARE(errorKindOf([&] { effect.copyToClipboard(); }), Error::Kind::InvalidHandle);
        QVERIFY(effect.hasCopy());
        QCOMPARE(pixelsOf(effect.newFromCopy()), original);
    }

    void aNewCopyReplacesTheOld()
    {
        Ik5Effect effect;
        effect.setSource(add(solid(2, 2, qRgb(1, 1, 1))));
        effect.copyToClipboard();
        effect.setSource(add(solid(3, 3, qRgb(2, 2, 2))));
        effect.copyToClipboard();
        QCOMPARE(pixelsOf(effect.newFromCopy()), solid(3, 3, qRgb(2, 2, 2)));
    }
};

QTEST_MAIN(TestIk5Effect)
#include "tst_ik5effect.moc"
