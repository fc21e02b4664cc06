// Measures our JPEG reading and shrinking side by side with reference tools in
// one run, on real photos given on the command line:
//   - full read of each photo, against libjpeg-turbo's djpeg;
//   - reduced read for an 800-pixel long side, against djpeg at the same DCT
//     scale (the smallest whose long side is still at least 800);
//   - shrink quality: our reduced read + resize to an 800-pixel long side and
//     vipsthumbnail --size 800, each scored by PSNR against a full-size read
//     shrunk with ImageMagick's Lanczos filter.
// Needs djpeg (libjpeg-turbo-progs), vipsthumbnail (libvips-tools) and
// convert (imagemagick) on the PATH.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

#include "imaging/core/Error.h"
#include "imaging/core/ImageReader.h"
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

// The DCT scale denominator djpeg needs for a long side of at least target.
int scaleDenominator(int longSide, int target)
{
    for (int denominator : {8, 4, 2})
        if ((longSide + denominator - 1) / denominator >= target)
            return denominator;
    return 1;
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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList photos = app.arguments().mid(1);
    if (photos.isEmpty()) {
        std::fprintf(stderr, "usage: morvell_bench PHOTO.jpg...\n");
        return 2;
    }
    QTemporaryDir scratch;
    // ImageMagick 6 as Debian installs it; plain "convert" where that is all there is.
    QString imageMagick = QStandardPaths::findExecutable(QStringLiteral("convert-im6.q16"));
    if (imageMagick.isEmpty())
        imageMagick = QStringLiteral("convert");
    Totals full, reduced, quality;
    std::printf("%-44s %6s %6s %8s %8s %6s %8s %8s %6s %7s %7s\n", "photo", "w", "h", "ours ms", "djpeg", "ratio",
                "ours/N", "djpeg/N", "ratio", "our dB", "vips dB");
    for (const QString &photo : photos) {
        try {
            const imaging::Image whole = imaging::readImageFile(photo);
            const int w = whole.pixels.width(), h = whole.pixels.height();
            const double ourFull = medianMs([&] { (void)imaging::readImageFile(photo); });
            const double djpegFull = medianMs([&] { run(QStringLiteral("djpeg"), {QStringLiteral("-outfile"), QStringLiteral("/dev/null"), photo}); });
            full.add(ourFull, djpegFull);

            const imaging::MinimumSize target{0, 0, kTargetLongSide};
            const int denominator = scaleDenominator(std::max(w, h), kTargetLongSide);
            const double ourReduced = medianMs([&] { (void)imaging::readImageFileReduced(photo, target); });
            const double djpegReduced = medianMs([&] {
                run(QStringLiteral("djpeg"), {QStringLiteral("-scale"), QStringLiteral("1/%1").arg(denominator),
                                              QStringLiteral("-outfile"), QStringLiteral("/dev/null"), photo});
            });
            reduced.add(ourReduced, djpegReduced);

            // The 800-pixel long side, the short side rounded as the reference does.
            const bool landscape = w >= h;
            const int tw = landscape ? kTargetLongSide : qRound(double(w) * kTargetLongSide / h);
            const int th = landscape ? qRound(double(h) * kTargetLongSide / w) : kTargetLongSide;
            const QString ref = scratch.filePath(QStringLiteral("ref.png")), vips = scratch.filePath(QStringLiteral("vips.png"));
            run(imageMagick, {photo, QStringLiteral("-auto-orient"), QStringLiteral("-filter"), QStringLiteral("Lanczos"),
                                            QStringLiteral("-resize"), QStringLiteral("%1x%2!").arg(tw).arg(th), ref});
            run(QStringLiteral("vipsthumbnail"), {photo, QStringLiteral("--size"), QString::number(kTargetLongSide), QStringLiteral("-o"), vips});
            const QImage reference(ref);
            const QImage ours = imaging::resizeImage(imaging::readImageFileReduced(photo, target).pixels, tw, th);
            const double ourDb = psnr(ours, reference), vipsDb = psnr(QImage(vips), reference);
            for (int k : {2, 3, 8}) {
            const QImage ours2 = imaging::resizeImage(imaging::readImageFileReduced(photo, imaging::MinimumSize{0, 0, k * kTargetLongSide}).pixels, tw, th);
            std::printf("headroom x%d: %.2f dB\n", k, psnr(ours2, reference));
            }
            quality.add(ourDb, vipsDb);

            std::printf("%-44s %6d %6d %8.1f %8.1f %6.2f %8.1f %8.1f %6.2f %7.2f %7.2f\n",
                        qPrintable(QFileInfo(photo).fileName().left(44)), w, h, ourFull, djpegFull, ourFull / djpegFull,
                        ourReduced, djpegReduced, ourReduced / djpegReduced, ourDb, vipsDb);
        } catch (const imaging::Error &e) {
            std::printf("%-44s %s\n", qPrintable(QFileInfo(photo).fileName()), qPrintable(e.description()));
        }
    }
    std::printf("\nfull read:    ours / djpeg = %.2f (sum of medians over %d photos)\n", full.ratio(), full.count);
    std::printf("reduced read: ours / djpeg at the same scale = %.2f\n", reduced.ratio());
    if (quality.count > 0)
        std::printf("shrink to 800: mean PSNR ours %.2f dB, vipsthumbnail %.2f dB\n", quality.ours / quality.count,
                    quality.theirs / quality.count);
    return 0;
}
