#include "imaging/core/Ik5Effect.h"

#include <utility>

#include <QClipboard>
#include <QGuiApplication>

#include "imaging/core/Adjust.h"
#include "imaging/core/Cut.h"
#include "base/Error.h"
#include "imaging/core/Resize.h"
#include "imaging/core/Rotate.h"

namespace imaging {
namespace {

constexpr qint64 kQuarterTurn = 9000; // 1/100 degree
constexpr qint64 kFullTurn = 4 * kQuarterTurn;

QRgb fillColour(qint16 red, qint16 green, qint16 blue)
{
    for (const qint16 channel : {red, green, blue}) {
        if (channel < 0 || channel > 255)
            throw Error::of(Error::Kind::InvalidArgument,
                            QStringLiteral("塗りつぶしの色 %1, %2, %3 は 0..255 の範囲外です").arg(red).arg(green).arg(blue));
    }
    return qRgb(red, green, blue);
}

} // namespace

Ik5Effect::Ik5Effect(QObject *parent)
    : QObject(parent)
{
}

template<typename Make>
Handle Ik5Effect::produce(const Make &make)
{
    assertGuiThread();
    m_result = 0;
    // A copy, not a reference: pixels are shared, not duplicated, and a
    // progress handler that yields may release the source meanwhile.
    const Image source = ImageStore::instance().get(m_source);

    // Every call reports 0 first and 100 last, also when the effect itself
    // reports nothing in between.
    ProgressReporter reporter([this](int percent) { emit progress(percent); });
    reporter.report(0);
    const ProgressFn forward = [&reporter](int percent) { reporter.report(percent); };
    Image made = make(source, forward);
    m_result = ImageStore::instance().add(std::move(made));
    reporter.done();
    return m_result;
}

Handle Ik5Effect::resize(qint32 width, qint32 height, qint32 /*filter*/)
{
    m_result = 0;
    (void)ImageStore::instance().get(m_source); // a stale source is an error even for an empty size
    if (width < 1 || height < 1)
        return 0;
    return produce([&](const Image &source, const ProgressFn &progressFn) {
        return Image{resizeImage(source.pixels, width, height, progressFn), source.dpiX, source.dpiY};
    });
}

Handle Ik5Effect::rotate(qint32 angle, qint32 mirrorHorizontal, qint32 mirrorVertical, qint32 freeAngle,
                         qint16 red, qint16 green, qint16 blue, qint32 /*reserved*/)
{
    m_result = 0;
    const QRgb fill = fillColour(red, green, blue);
    // Both conventions meet here: "right 90" of the fixed buttons (-9000)
    // and a typed 90 degrees clockwise (+9000) are the same turn.
    const qint64 clockwise = (freeAngle != 0 ? qint64(angle) : -qint64(angle)) % kFullTurn;
    return produce([&](const Image &source, const ProgressFn &progressFn) {
        Image turned = source;
        const QImage mirrored = mirrorImage(source.pixels, mirrorHorizontal != 0, mirrorVertical != 0);
        if (clockwise % kQuarterTurn == 0) {
            const auto quarterTurns = static_cast<int>(clockwise / kQuarterTurn);
            turned.pixels = turnImage(mirrored, quarterTurns);
            if (quarterTurns % 2 != 0)
                std::swap(turned.dpiX, turned.dpiY);
        } else {
            turned.pixels = rotateImage(mirrored, static_cast<double>(clockwise) / 100.0, fill, progressFn);
        }
        return turned;
    });
}

Handle Ik5Effect::cutPolygon(std::span<const qint32> xs, std::span<const qint32> ys, qint32 count,
                             qint16 /*reserved1*/, qint16 /*reserved2*/, qint16 /*reserved3*/)
{
    return produce([&](const Image &source, const ProgressFn &) {
        return Image{cutImage(source.pixels, xs, ys, count), source.dpiX, source.dpiY};
    });
}

Handle Ik5Effect::brightness(qint16, qint16, qint32, qint32 red, qint32 green, qint32 blue)
{
    return produce([&](const Image &source, const ProgressFn &progressFn) {
        return Image{adjustBrightness(source.pixels, red, green, blue, progressFn), source.dpiX, source.dpiY};
    });
}

Handle Ik5Effect::contrast(qint16, qint16, qint32, double red, double green, double blue)
{
    return produce([&](const Image &source, const ProgressFn &progressFn) {
        return Image{adjustContrast(source.pixels, red, green, blue, progressFn), source.dpiX, source.dpiY};
    });
}

Handle Ik5Effect::saturation(qint16, qint16, qint32, qint32 level)
{
    return produce([&](const Image &source, const ProgressFn &progressFn) {
        return Image{adjustSaturation(source.pixels, level, progressFn), source.dpiX, source.dpiY};
    });
}

void Ik5Effect::copyToClipboard()
{
    const Image source = ImageStore::instance().get(m_source);
    m_copy = source;
    // The clipboard belongs to the GUI application; a headless process
    // (batch tools, QCoreApplication tests) keeps only the private copy.
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        QGuiApplication::clipboard()->setImage(source.pixels);
}

Handle Ik5Effect::newFromCopy()
{
    m_result = 0;
    if (!m_copy)
        throw Error::of(Error::Kind::InvalidHandle, QStringLiteral("コピーした画像がありません"));
    m_result = ImageStore::instance().add(*m_copy);
    return m_result;
}

} // namespace imaging
