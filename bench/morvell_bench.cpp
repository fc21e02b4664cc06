// Measures our JPEG reading and shrinking side by side with reference tools in
// one run, on real photos given on the command line:
//   - full read of each photo, against libjpeg-turbo's djpeg;
//   - reduced read for an 800-pixel long side, against djpeg at the same DCT
//     scale (the smallest whose long side is still kShrinkHeadroom x 800);
//   - shrink to an 800-pixel long side: our reduced read + resize against
//     vipsthumbnail --size 800, in time (whole job; for vipsthumbnail that
//     includes starting the process and writing a PNG) and in PSNR against a full-size read shrunk with
//     ImageMagick's Lanczos filter. The reference is written as PPM: this
//     ImageMagick 6 truncates 16-bit results to 8 bits in its PNG writer
//     (half a level darker on average, worth about 0.5 dB to whoever is
//     biased the same way), while its PPM writer rounds. The PNG-reference
//     scores are printed as well, for comparison with older runs.
// Needs djpeg (libjpeg-turbo-progs), vipsthumbnail (libvips-tools) and
// convert (imagemagick) on the PATH.

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

#include "imaging/core/Codec.h"
#include "base/Error.h"
#include "imaging/core/FittedRead.h"
#include "imaging/core/ImageReader.h"
#include "imaging/core/ImageWriter.h"
#include "imaging/core/JpegCodec.h"
#include "imaging/core/Resize.h"

namespace {

constexpr int kRuns = 7;
constexpr int kTargetLongSide = 800;

double medianMs(const std::function<void()> &work)
{
    work(); // warm-up: the file is in the page cache from here on
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

bool run(const QString &program, const QStringList &args)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, args);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::fprintf(stderr, "failed: %s %s\n", qPrintable(program), qPrintable(args.join(u' ')));
        return false;
    }
    return true;
}

double psnr(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return std::nan("");
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const auto *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            const int d[] = {qRed(p[col]) - qRed(q[col]), qGreen(p[col]) - qGreen(q[col]), qBlue(p[col]) - qBlue(q[col])};
            for (int v : d)
                sum += v * v;
        }
    }
    const double mse = sum / (3.0 * x.width() * x.height());
    return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

struct Totals
{
    double ours = 0, theirs = 0;
    int count = 0;
    void add(double a, double b) { ours += a; theirs += b; ++count; }
    double ratio() const { return theirs > 0 ? ours / theirs : 0; }
};

// Qt's reader as PNG and TIFF were read before ours.
QImage readWithQt(const QString &file)
{
    QImageReader reader(file);
    reader.setAllocationLimit(0);
    reader.setAutoTransform(true);
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

// Each file read through our reader and through Qt's: in-process medians,
// the file in the page cache.
int compareWithQt(const QStringList &files)
{
    std::printf("%-40s %9s %9s %6s\n", "file", "ours ms", "Qt ms", "ratio");
    for (const QString &file : files) {
        const double ours = medianMs([&] { (void)imaging::readImageFile(file); });
        const double qt = medianMs([&] { (void)readWithQt(file); });
        std::printf("%-40s %9.1f %9.1f %6.2f\n", qPrintable(file.section(u'/', -1)), ours, qt, ours / qt);
    }
    return 0;
}

// Encodes an image as PNG in memory, ours against Qt's writer with its
// defaults (what wrote PNG before), and writes ours to `out` for comparing
// its size with other tools'.
int writePng(const QString &in, const QString &out)
{
    const imaging::Image image = imaging::readImageFile(in);
    QByteArray ours;
    const double oursMs = medianMs([&] { ours = imaging::encodeImage(image, imaging::WritePng, 0); });
    QByteArray qt;
    const double qtMs = medianMs([&] {
        qt.clear();
        QBuffer buffer(&qt);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter(&buffer, "png").write(image.pixels);
    });
    QFile file(out);
    if (!file.open(QIODevice::WriteOnly) || file.write(ours) != ours.size())
        return 1;
    std::printf("%d x %d: ours %.1f ms, %lld bytes; Qt %.1f ms, %lld bytes\n", image.pixels.width(),
                image.pixels.height(), oursMs, static_cast<long long>(ours.size()), qtMs,
                static_cast<long long>(qt.size()));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // One read or write and nothing else, for timing whole processes side by
    // side with djpeg, Qt and vips:  morvell_bench --read PHOTO  /
    // --read-qt PHOTO  /  --read-scaled N PHOTO  /  --write-png-once IN OUT
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QStringLiteral("--read"))
        return imaging::readImageFile(args[2]).pixels.isNull() ? 1 : 0;
    if (args.size() == 3 && args[1] == QStringLiteral("--read-qt"))
        return readWithQt(args[2]).isNull() ? 1 : 0;
    if (args.size() == 4 && args[1] == QStringLiteral("--write-png-once")) {
        imaging::writeImageFile(args[3], imaging::readImageFile(args[2]), imaging::WritePng, 0);
        return 0;
    }
    if (args.size() == 4 && args[1] == QStringLiteral("--read-scaled")) {
        const int longSide = args[2].toInt();
        return imaging::readImageFileReduced(args[3], imaging::MinimumSize{0, 0, longSide}).pixels.isNull() ? 1 : 0;
    }
    if (args.size() >= 3 && args[1] == QStringLiteral("--against-qt"))
        return compareWithQt(args.mid(2));
    if (args.size() == 4 && args[1] == QStringLiteral("--write-png"))
        return writePng(args[2], args[3]);
    const QStringList photos = args.mid(1);
    if (photos.isEmpty()) {
        std::fprintf(stderr, "usage: morvell_bench PHOTO.jpg...\n"
                             "       morvell_bench --read PHOTO\n"
                             "       morvell_bench --read-scaled LONG_SIDE PHOTO\n"
                             "       morvell_bench --against-qt IMAGE...\n"
                             "       morvell_bench --write-png IMAGE OUT.png\n");
        return 2;
    }
    QTemporaryDir scratch;
    // ImageMagick 6 as Debian installs it; plain "convert" where that is all there is.
    QString imageMagick = QStandardPaths::findExecutable(QStringLiteral("convert-im6.q16"));
    if (imageMagick.isEmpty())
        imageMagick = QStringLiteral("convert");
    Totals full, reduced, shrinkTime, quality, pngQuality;
    for (qsizetype i = 0; i < photos.size(); ++i)
        std::printf("#%lld %s\n", static_cast<long long>(i + 1), qPrintable(photos[i]));
    std::printf("%-4s %5s %5s %7s %7s %5s %3s %7s %7s %5s %7s %7s %6s %6s %6s %6s\n", "photo", "w", "h", "ours ms",
                "djpeg", "ratio", "N", "ours/N", "djpeg/N", "ratio", "shrink", "vips ms", "our dB", "vipsdB", "png:us",
                "vips");
    for (const QString &photo : photos) {
        try {
            const imaging::Image whole = imaging::readImageFile(photo);
            const int w = whole.pixels.width(), h = whole.pixels.height();
            const double ourFull = medianMs([&] { (void)imaging::readImageFile(photo); });
            const double djpegFull = medianMs([&] { run(QStringLiteral("djpeg"), {QStringLiteral("-outfile"), QStringLiteral("/dev/null"), photo}); });
            full.add(ourFull, djpegFull);

            const imaging::MinimumSize reducedTarget = imaging::withShrinkHeadroom({0, 0, kTargetLongSide});
            const int denominator = imaging::jpegScaleFor(QSize(w, h), reducedTarget);
            const double ourReduced = medianMs([&] { (void)imaging::readImageFileReduced(photo, reducedTarget); });
            const double djpegReduced = medianMs([&] {
                run(QStringLiteral("djpeg"), {QStringLiteral("-scale"), QStringLiteral("1/%1").arg(denominator),
                                              QStringLiteral("-outfile"), QStringLiteral("/dev/null"), photo});
            });
            reduced.add(ourReduced, djpegReduced);

            // The 800-pixel long side, the short side rounded as the reference does.
            const bool landscape = w >= h;
            const int tw = landscape ? kTargetLongSide : qRound(double(w) * kTargetLongSide / h);
            const int th = landscape ? qRound(double(h) * kTargetLongSide / w) : kTargetLongSide;
            const QStringList vipsArgs{photo, QStringLiteral("--size"), QString::number(kTargetLongSide),
                                       QStringLiteral("-o"), scratch.filePath(QStringLiteral("vips.png"))};
            const double ourShrink = medianMs([&] { (void)imaging::readImageFileShrunk(photo, QSize(tw, th)); });
            const double vipsShrink = medianMs([&] { run(QStringLiteral("vipsthumbnail"), vipsArgs); });
            shrinkTime.add(ourShrink, vipsShrink);

            const QImage ours = imaging::readImageFileShrunk(photo, QSize(tw, th)).pixels;
            const QImage vips(scratch.filePath(QStringLiteral("vips.png")));
            double scores[2][2] = {};
            int column = 0;
            for (const char *format : {"ppm", "png"}) {
                const QString ref = scratch.filePath(QStringLiteral("ref.") + QLatin1String(format));
                run(imageMagick, {photo, QStringLiteral("-auto-orient"), QStringLiteral("-filter"), QStringLiteral("Lanczos"),
                                  QStringLiteral("-resize"), QStringLiteral("%1x%2!").arg(tw).arg(th), ref});
                const QImage reference(ref);
                scores[column][0] = psnr(ours, reference);
                scores[column][1] = psnr(vips, reference);
                ++column;
            }
            quality.add(scores[0][0], scores[0][1]);
            pngQuality.add(scores[1][0], scores[1][1]);

            std::printf("%-4s %5d %5d %7.1f %7.1f %5.2f %3d %7.1f %7.1f %5.2f %7.1f %7.1f %6.2f %6.2f %6.2f %6.2f\n",
                        qPrintable(QStringLiteral("#%1").arg(photos.indexOf(photo) + 1)), w, h, ourFull, djpegFull,
                        ourFull / djpegFull, denominator, ourReduced, djpegReduced, ourReduced / djpegReduced,
                        ourShrink, vipsShrink, scores[0][0], scores[0][1], scores[1][0], scores[1][1]);
        } catch (const imaging::Error &e) {
            std::printf("#%lld %s\n", static_cast<long long>(photos.indexOf(photo) + 1), qPrintable(e.description()));
        }
    }
    std::printf("\nfull read:    ours / djpeg = %.2f (sum of medians over %d photos)\n", full.ratio(), full.count);
    std::printf("reduced read: ours / djpeg at the same scale = %.2f\n", reduced.ratio());
    std::printf("shrink to 800: ours / vipsthumbnail = %.2f in time\n", shrinkTime.ratio());
    if (quality.count > 0) {
        std::printf("shrink to 800: mean PSNR ours %.2f dB, vipsthumbnail %.2f dB\n", quality.ours / quality.count,
                    quality.theirs / quality.count);
        std::printf("  (against the truncating PNG reference: ours %.2f dB, vipsthumbnail %.2f dB)\n",
                    pngQuality.ours / pngQuality.count, pngQuality.theirs / pngQuality.count);
    }
    return 0;
}
