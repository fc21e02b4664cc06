// Writes the fuzzers' seed corpus into the folder named on the command line:
// image/ holds one small valid file per format and depth plus a few cut
// short, pcx/ and bmp/ the files of those formats alone. Made in code each
// run, never committed.

#include <cstdio>

#include <QDir>
#include <QFile>
#include <QCoreApplication>

#include "CodecFixtures.h"
#include "imaging/core/ImageWriter.h"

namespace {

bool save(const QString &folder, const QString &name, const QByteArray &bytes)
{
    QFile file(folder + u'/' + name);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray encoded(const QImage &pixels, int operation)
{
    return imaging::encodeImage(imaging::Image{pixels, 300, 150}, operation, 85);
}

QList<std::pair<QString, QByteArray>> pcxSeeds()
{
    QList<std::pair<QString, QByteArray>> seeds;
    const struct
    {
        int bits;
        int planes;
        int colours;
    } layouts[] = {{1, 1, 2}, {1, 2, 4}, {1, 4, 16}, {4, 1, 16}, {8, 1, 256}};
    for (const auto &layout : layouts) {
        for (bool runLength : {true, false}) {
            const QString name = QStringLiteral("%1x%2-%3.pcx").arg(layout.bits).arg(layout.planes).arg(runLength ? "rle" : "plain");
            seeds.append({name, fixtures::pcxFile(fixtures::indexedPattern(13, 7, layout.colours),
                                                  {layout.bits, layout.planes, runLength}, 72, 72)});
        }
    }
    seeds.append({QStringLiteral("24bit-rle.pcx"), fixtures::pcxFile(fixtures::pattern(13, 7), {8, 3, true})});
    seeds.append({QStringLiteral("24bit-plain.pcx"), fixtures::pcxFile(fixtures::pattern(13, 7), {8, 3, false})});
    return seeds;
}

QList<std::pair<QString, QByteArray>> bmpSeeds()
{
    const QImage pattern = fixtures::pattern(13, 7);
    const QImage indexed = fixtures::indexedPattern(13, 7, 16);
    const auto bmp = [](const QImage &image, const fixtures::BmpLayout &layout) {
        return fixtures::bmpFile(layout, image.width(), image.height(), fixtures::bmpRows(image, layout));
    };
    fixtures::BmpLayout topDown;
    topDown.topDown = true;
    fixtures::BmpLayout palette4{40, 4, 0, false, indexed.colorTable()};
    fixtures::BmpLayout core{12, 4, 0, false, indexed.colorTable()};
    fixtures::BmpLayout fields{124, 32, 3, false, {}, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}};
    fixtures::BmpLayout fields16{40, 16, 3, false, {}, {0xF800, 0x07E0, 0x001F}};
    return {{"24bit.bmp", bmp(pattern, {})},
            {"24bit-topdown.bmp", bmp(pattern, topDown)},
            {"4bit.bmp", bmp(indexed, palette4)},
            {"4bit-os2.bmp", bmp(indexed, core)},
            {"32bit-alpha.bmp", bmp(pattern, fields)},
            {"16bit-565.bmp", bmp(pattern, fields16)},
            {"rle8.bmp", fixtures::rle8Bmp(13, 7)}};
}

QList<std::pair<QString, QByteArray>> imageSeeds()
{
    const QImage photo = fixtures::smooth(32, 24);
    const QImage pattern = fixtures::pattern(13, 7);
    QImage translucent = pattern.convertToFormat(QImage::Format_ARGB32);
    translucent.setPixel(3, 3, qRgba(10, 20, 30, 40));
    const QImage indexed = fixtures::indexedPattern(13, 7, 16);
    const QImage mono = fixtures::indexedPattern(13, 7, 2).convertToFormat(QImage::Format_Mono);
    const QImage deep = pattern.convertToFormat(QImage::Format_RGBA64);

    QList<std::pair<QString, QByteArray>> seeds = {
        {"baseline.jpg", encoded(photo, imaging::WriteJpeg)},
        {"progressive.jpg", encoded(photo, imaging::WriteProgressiveJpeg)},
        {"oriented.jpg", fixtures::withSegment(fixtures::jpegOf(photo), 0xE1, fixtures::exifPayload(6, true))},
        {"dpcm.jpg", fixtures::withJfifDensity(fixtures::jpegOf(photo), 2, 40, 40)},
        {"grey.jpg", fixtures::jpegInColourSpace("gray", QByteArray(1, '\x40'))},
        {"cmyk.jpg", fixtures::jpegInColourSpace("cmyk", QByteArray("\xFF\x00\x00\xFF", 4))},
        {"ycck.jpg", fixtures::jpegInColourSpace("ycck", QByteArray("\x00\xFF\x00\xFF", 4))},
        {"repeated-scans.jpg", fixtures::progressiveWithRepeatedScans(8)},
        {"rgb.png", encoded(pattern, imaging::WritePng)},
        {"alpha.png", fixtures::qtEncoded(translucent, "png")},
        {"indexed.png", fixtures::qtEncoded(indexed, "png")},
        {"16bit.png", fixtures::qtEncoded(deep, "png")},
        {"interlaced.png", fixtures::pngOf(pattern, {16, false, true, true})},
        {"24bit.bmp", encoded(pattern, imaging::WriteBmp)},
        {"8bit.bmp", fixtures::qtEncoded(indexed, "bmp")},
        {"1bit.bmp", fixtures::qtEncoded(mono, "bmp")},
        {"rle8.bmp", fixtures::rle8Bmp(13, 7)},
        {"lzw.tif", encoded(pattern, imaging::WriteTiff)},
        {"alpha.tif", fixtures::qtEncoded(translucent, "tiff")},
        {"strip-ii.tif", fixtures::stripTiff(pattern, false)},
        {"strip-mm.tif", fixtures::stripTiff(pattern, true)},
        {"g4.tif", fixtures::tiffOf(pattern, {1, 1, 0, 4})},          // min-is-white, CCITT G4
        {"jpeg.tif", fixtures::tiffOf(photo, {8, 3, 6, 7})},          // YCbCr, JPEG
        {"planar16-tiled.tif", fixtures::tiffOf(pattern, {16, 3, 2, 1, true, 16})},
    };
    const qsizetype whole = seeds.size();
    for (qsizetype i = 0; i < whole; i += 4)
        seeds.append({QStringLiteral("cut-") + seeds[i].first, seeds[i].second.left(seeds[i].second.size() / 2)});
    return seeds;
}

bool saveAll(const QString &folder, const QList<std::pair<QString, QByteArray>> &seeds)
{
    if (!QDir().mkpath(folder))
        return false;
    for (const auto &[name, bytes] : seeds)
        if (!save(folder, name, bytes))
            return false;
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    QList<std::pair<QString, QByteArray>> images = imageSeeds();
    const QList<std::pair<QString, QByteArray>> pcx = pcxSeeds();
    const QList<std::pair<QString, QByteArray>> bmp = bmpSeeds();
    images.append(pcx);
    images.append(bmp);
    if (!saveAll(root + QStringLiteral("/image"), images) || !saveAll(root + QStringLiteral("/pcx"), pcx)
        || !saveAll(root + QStringLiteral("/bmp"), bmp)) {
        std::fprintf(stderr, "cannot write the corpus into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
