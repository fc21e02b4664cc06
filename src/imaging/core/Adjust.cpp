#include "imaging/core/Image.h"
#include "imaging/core/Adjust.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

#include "base/Error.h"

namespace imaging {
namespace {

using ChannelTable = std::array<uchar, 256>;

constexpr int kMaxBrightness = 255;
constexpr double kMaxContrast = 3.0;
constexpr int kMinSaturation = -100;
constexpr int kMaxSaturation = 1000;

int clampChannel(long value)
{
    return static_cast<int>(std::clamp(value, 0L, 255L));
}

ChannelTable makeTable(const std::function<long(int)> &curve)
{
    ChannelTable table{};
    for (int in = 0; in < 256; ++in)
        table[static_cast<std::size_t>(in)] = static_cast<uchar>(clampChannel(curve(in)));
    return table;
}

QImage newImageLike(const QImage &source)
{
    if (source.isNull() || source.format() != QImage::Format_RGB32)
        throw Error::of(Error::Kind::InvalidArgument, QStringLiteral("RGB32 の画像ではありません"));
    return allocateImage(source.width(), source.height());
}

// Runs a per-pixel function over every pixel, reporting progress by rows.
template<typename PixelMap>
QImage mapPixels(const QImage &source, const ProgressFn &progress, const PixelMap &map)
{
    QImage target = newImageLike(source);
    ProgressReporter reporter(progress);
    reporter.report(0);
    for (int y = 0; y < source.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        auto *out = reinterpret_cast<QRgb *>(target.scanLine(y));
        for (int x = 0; x < source.width(); ++x)
            out[x] = map(in[x]);
        reporter.report(static_cast<int>(qint64(y + 1) * 100 / source.height()));
    }
    reporter.done();
    return target;
}

QImage mapChannels(const QImage &source, const std::array<ChannelTable, 3> &rgb, const ProgressFn &progress)
{
    return mapPixels(source, progress, [&rgb](QRgb p) {
        return qRgb(rgb[0][static_cast<std::size_t>(qRed(p))], rgb[1][static_cast<std::size_t>(qGreen(p))],
                    rgb[2][static_cast<std::size_t>(qBlue(p))]);
    });
}

[[noreturn]] void outOfRange(const QString &what, const QString &value, const QString &range)
{
    throw Error::of(Error::Kind::InvalidArgument, QStringLiteral("%1 %2 は %3 の範囲外です").arg(what, value, range));
}

ChannelTable brightnessTable(int amount)
{
    if (amount < -kMaxBrightness || amount > kMaxBrightness)
        outOfRange(QStringLiteral("明るさ"), QString::number(amount), QStringLiteral("-255..255"));
    return makeTable([amount](int in) { return long(in + amount); });
}

ChannelTable contrastTable(double c)
{
    const double gain = contrastGain(c);
    return makeTable([gain](int in) { return std::lround(127.5 + (in - 127.5) * gain); });
}

} // namespace

QImage adjustBrightness(const QImage &source, int red, int green, int blue, const ProgressFn &progress)
{
    return mapChannels(source, {brightnessTable(red), brightnessTable(green), brightnessTable(blue)}, progress);
}

double contrastGain(double c)
{
    // Written so that a NaN fails the test too.
    if (!(c >= -kMaxContrast && c <= kMaxContrast))
        outOfRange(QStringLiteral("コントラスト"), QString::number(c), QStringLiteral("-3..3"));
    return c >= 0.0 ? 1.0 + c : 1.0 + c / kMaxContrast;
}

QImage adjustContrast(const QImage &source, double red, double green, double blue, const ProgressFn &progress)
{
    return mapChannels(source, {contrastTable(red), contrastTable(green), contrastTable(blue)}, progress);
}

QImage adjustSaturation(const QImage &source, int level, const ProgressFn &progress)
{
    if (level < kMinSaturation || level > kMaxSaturation)
        outOfRange(QStringLiteral("彩度"), QString::number(level), QStringLiteral("-100..1000"));
    // Integer arithmetic: luma in thousandths, the factor in hundredths, so
    // level 0 returns every channel exactly.
    const long factor = 100 + level;
    return mapPixels(source, progress, [factor](QRgb p) {
        const long luma = 299L * qRed(p) + 587L * qGreen(p) + 114L * qBlue(p);
        const auto channel = [&](int in) {
            const long scaled = luma * 100 + (in * 1000L - luma) * factor; // out x 100000
            // Round half up; negatives clamp to 0 before the division.
            return clampChannel((std::max(scaled, 0L) + 50000) / 100000);
        };
        return qRgb(channel(qRed(p)), channel(qGreen(p)), channel(qBlue(p)));
    });
}

} // namespace imaging
