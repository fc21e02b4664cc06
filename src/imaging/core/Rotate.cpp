#include "imaging/core/Rotate.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/Error.h"
#include "imaging/core/Image.h"

namespace imaging {
namespace {

const QRgb *row(const QImage &image, int y)
{
    return reinterpret_cast<const QRgb *>(image.constScanLine(y));
}

QRgb *row(QImage &image, int y)
{
    return reinterpret_cast<QRgb *>(image.scanLine(y));
}

// Bilinear weights in 1/256: fx and fy are 0..256.
constexpr int kWeightBits = 8;
constexpr int kWeightOne = 1 << kWeightBits;

int channelBlend(int shift, QRgb topLeft, QRgb topRight, QRgb bottomLeft, QRgb bottomRight, int fx, int fy)
{
    const auto channel = [shift](QRgb p) { return static_cast<int>((p >> shift) & 0xff); };
    const int top = channel(topLeft) * (kWeightOne - fx) + channel(topRight) * fx;
    const int bottom = channel(bottomLeft) * (kWeightOne - fx) + channel(bottomRight) * fx;
    const int rounding = 1 << (2 * kWeightBits - 1);
    return (top * (kWeightOne - fy) + bottom * fy + rounding) >> (2 * kWeightBits);
}

QRgb blend(QRgb topLeft, QRgb topRight, QRgb bottomLeft, QRgb bottomRight, int fx, int fy)
{
    return qRgb(channelBlend(16, topLeft, topRight, bottomLeft, bottomRight, fx, fy),
                channelBlend(8, topLeft, topRight, bottomLeft, bottomRight, fx, fy),
                channelBlend(0, topLeft, topRight, bottomLeft, bottomRight, fx, fy));
}

} // namespace

QImage turnImage(const QImage &source, int quarterTurns)
{
    const int turns = ((quarterTurns % 4) + 4) % 4;
    const int w = source.width();
    const int h = source.height();
    if (turns == 0)
        return source;
    if (turns == 2)
        return mirrorImage(source, true, true);

    QImage target = allocateImage(h, w);
    for (int y = 0; y < w; ++y) {
        QRgb *out = row(target, y);
        for (int x = 0; x < h; ++x) {
            // A right turn takes the target row from a source column read
            // bottom to top; a left turn from a column read top to bottom.
            out[x] = turns == 1 ? row(source, h - 1 - x)[y] : row(source, x)[w - 1 - y];
        }
    }
    return target;
}

QImage mirrorImage(const QImage &source, bool horizontal, bool vertical)
{
    return source.mirrored(horizontal, vertical);
}

QSize turnedCanvasSize(int width, int height, double clockwiseDegrees)
{
    const double radians = clockwiseDegrees * std::numbers::pi / 180.0;
    const double c = std::abs(std::cos(radians));
    const double s = std::abs(std::sin(radians));
    // A hair of tolerance so that 90 degrees does not gain a pixel from
    // rounding in cos(pi / 2).
    constexpr double kTolerance = 1e-6;
    const auto side = [&](double extent) {
        return static_cast<int>(std::min(std::ceil(extent - kTolerance), 1e9));
    };
    return {side(width * c + height * s), side(width * s + height * c)};
}

QImage rotateImage(const QImage &source, double clockwiseDegrees, QRgb fill, const ProgressFn &progress)
{
    const QSize canvas = turnedCanvasSize(source.width(), source.height(), clockwiseDegrees);
    checkImageSize(canvas.width(), canvas.height());
    QImage target = allocateImage(canvas.width(), canvas.height());

    const double radians = clockwiseDegrees * std::numbers::pi / 180.0;
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    const int w = source.width();
    const int h = source.height();
    fill = qRgb(qRed(fill), qGreen(fill), qBlue(fill));
    // Row pointers taken once: a call into QImage per sample costs more
    // than the blend itself.
    const uchar *bits = source.constBits();
    const qsizetype stride = source.bytesPerLine();
    const auto sourceRow = [&](int y) { return reinterpret_cast<const QRgb *>(bits + y * stride); };
    const auto pixelAt = [&](int x, int y) {
        return (x >= 0 && y >= 0 && x < w && y < h) ? sourceRow(y)[x] : fill;
    };
    const auto weight = [](double fraction) { return static_cast<int>(fraction * kWeightOne + 0.5); };

    // Turns the target pixel centre back (counter-clockwise) into the
    // source; y grows downwards, so this inverts a clockwise turn on screen.
    // Then moves from pixel centres to indices and blends four neighbours.
    const auto sample = [&](int x, int y) {
        const double dx = x + 0.5 - canvas.width() / 2.0;
        const double dy = y + 0.5 - canvas.height() / 2.0;
        const double u = dx * c + dy * s + w / 2.0 - 0.5;
        const double v = -dx * s + dy * c + h / 2.0 - 0.5;
        if (u < -1.0 || v < -1.0 || u >= w || v >= h)
            return fill;
        // Truncation is floor here, for values shifted to be positive.
        const int x0 = static_cast<int>(u + 1.0) - 1;
        const int y0 = static_cast<int>(v + 1.0) - 1;
        const int fx = weight(u - x0);
        const int fy = weight(v - y0);
        if (x0 >= 0 && y0 >= 0 && x0 + 1 < w && y0 + 1 < h) {
            const QRgb *top = sourceRow(y0) + x0;
            const QRgb *bottom = sourceRow(y0 + 1) + x0;
            return blend(top[0], top[1], bottom[0], bottom[1], fx, fy);
        }
        return blend(pixelAt(x0, y0), pixelAt(x0 + 1, y0), pixelAt(x0, y0 + 1), pixelAt(x0 + 1, y0 + 1), fx, fy);
    };

    ProgressReporter reporter(progress);
    reporter.report(0);
    for (int y = 0; y < canvas.height(); ++y) {
        QRgb *out = row(target, y);
        for (int x = 0; x < canvas.width(); ++x)
            out[x] = sample(x, y);
        reporter.report(static_cast<int>(qint64(y + 1) * 100 / canvas.height()));
    }
    reporter.done();
    return target;
}

} // namespace imaging
