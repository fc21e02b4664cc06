#include "imaging/core/Codec.h"

#include <algorithm>
#include <cmath>

#include "base/Error.h"

namespace imaging {

namespace {
constexpr double kMetresPerInch = 0.0254;
} // namespace

void ProgressReporter::report(int percent)
{
    percent = std::clamp(percent, 0, 100);
    if (percent <= m_last)
        return;
    m_last = percent;
    if (m_fn)
        m_fn(percent);
}

bool ProgressReporter::reportFromC(int percent) noexcept
{
    if (m_failure)
        return false;
    try {
        report(percent);
    } catch (...) {
        m_failure = std::current_exception();
    }
    return !m_failure;
}

void ProgressReporter::rethrowIfStopped() const
{
    if (m_failure)
        std::rethrow_exception(m_failure);
}

ProgressFn progressStage(ProgressReporter &whole, int from, int span)
{
    return [&whole, from, span](int percent) { whole.report(from + percent * span / 100); };
}

StoredImage storedWhole(Image image, int orientation)
{
    const QRectF all(QPointF(0, 0), image.pixels.size());
    return {std::move(image), orientation, all};
}

Image uprightOf(const StoredImage &stored)
{
    Image image{applyOrientation(stored.image.pixels, stored.orientation), stored.image.dpiX, stored.image.dpiY};
    if (orientationSwapsSides(stored.orientation))
        std::swap(image.dpiX, image.dpiY);
    return image;
}

ImageInfo uprightInfo(FileFormat format, QSize stored, double dpiX, double dpiY, int orientation)
{
    if (orientationSwapsSides(orientation))
        return {format, stored.transposed(), dpiY, dpiX};
    return {format, stored, dpiX, dpiY};
}

double dpiFromDotsPerMeter(int dotsPerMeter)
{
    if (dotsPerMeter <= 0)
        return kDefaultDpi;
    const double dpi = dotsPerMeter * kMetresPerInch;
    // Pixels per metre is how a whole DPI was stored (96 dpi -> 3780): give
    // that whole number back rather than 96.012.
    const double whole = std::round(dpi);
    return dotsPerMeterFromDpi(whole) == dotsPerMeter ? whole : dpi;
}

int dotsPerMeterFromDpi(double dpi)
{
    if (!(dpi > 0.0))
        dpi = kDefaultDpi;
    return static_cast<int>(std::lround(std::min(dpi / kMetresPerInch, 1e9)));
}

double dpiOrDefault(double dpi)
{
    return dpi > 0.0 && std::isfinite(dpi) ? dpi : kDefaultDpi;
}

void throwDamaged(const QString &reason)
{
    throw Error::of(Error::Kind::Damaged, reason);
}

void throwUnsupported(const QString &detail)
{
    throw Error::of(Error::Kind::Unsupported, detail);
}

void checkDeclaredSize(qint64 width, qint64 height)
{
    if (width < 1 || height < 1)
        throwDamaged(QStringLiteral("画像の大きさが %1 × %2 です").arg(width).arg(height));
    checkImageSize(width, height);
}

QString truncatedText()
{
    return QStringLiteral("データが途中で終わっています");
}

void compositeStraightAlphaOnWhite(QImage &pixels)
{
    for (int y = 0; y < pixels.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(pixels.scanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            const QRgb p = row[x];
            const int alpha = qAlpha(p);
            if (alpha == 255)
                continue;
            const auto over = [alpha](int c) { return (c * alpha + 255 * (255 - alpha) + 127) / 255; };
            row[x] = qRgb(over(qRed(p)), over(qGreen(p)), over(qBlue(p)));
        }
    }
}

} // namespace imaging
