// Our BMP reader: every header version, depth and row order gives the same
// pixels, run-length data is decoded and validated, and what only the header
// gets wrong is tolerated.

#include <QtEndian>
#include <QtTest>

#include "CodecFixtures.h"
#include "imaging/core/BmpReader.h"
#include "base/Error.h"
#include "imaging/core/ImageReader.h"

using fixtures::BmpLayout;
using imaging::Error;

Q_DECLARE_METATYPE(fixtures::BmpLayout)
Q_DECLARE_METATYPE(imaging::Error::Kind)

namespace {

constexpr int kWidth = 13; // no depth fills its rows exactly: padding is read
constexpr int kHeight = 7;

QList<QRgb> paletteOf(const QImage &indexed)
{
    return indexed.colorTable();
}

// The pattern as a field of `bits` bits per channel keeps it: each channel
// rounded to the field and scaled back to 8 bits.
QImage quantised(const QImage &image, int bits)
{
    const int max = (1 << bits) - 1;
    const auto q = [max](int c) { return ((c * max + 127) / 255 * 255 + max / 2) / max; };
    QImage out(image.size(), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            out.setPixel(x, y, qRgb(q(qRed(c)), q(qGreen(c)), q(qBlue(c))));
        }
    return out;
}

QByteArray bmpOf(const QImage &image, BmpLayout layout)
{
    return fixtures::bmpFile(layout, image.width(), image.height(), fixtures::bmpRows(image, layout));
}

// Run-length data of RLE8 (or RLE4: each byte then holds two pixels).
QByteArray codes(std::initializer_list<int> bytes)
{
    QByteArray out;
    for (int b : bytes)
        out.append(char(b));
    return out;
}

BmpLayout runLength(int bits, int colours = 4)
{
    BmpLayout layout;
    layout.bits = bits;
    layout.compression = bits == 8 ? 1 : 2;
    layout.palette = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(10, 20, 30)};
    layout.palette.resize(colours, qRgb(1, 2, 3));
    return layout;
}


} // namespace

class TestBmpReader : public QObject
{
    Q_OBJECT

private slots:
    void everyLayoutGivesThePixels_data();
    void everyLayoutGivesThePixels();
    void alphaFieldIsCompositedOntoWhite();
    void runLengthDataIsDecoded_data();
    void runLengthDataIsDecoded();
    void brokenFilesAreRefused_data();
    void brokenFilesAreRefused();
    void headerOdditiesAreTolerated();
};

void TestBmpReader::everyLayoutGivesThePixels_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<BmpLayout>("layout");
    QTest::addColumn<QImage>("expected");

    const QImage rgb = fixtures::pattern(kWidth, kHeight);
    const QImage mono = fixtures::indexedPattern(kWidth, kHeight, 2);
    const QImage sixteen = fixtures::indexedPattern(kWidth, kHeight, 16);
    const QImage full = fixtures::indexedPattern(kWidth, kHeight, 256);
    const QImage four = fixtures::indexedPattern(kWidth, kHeight, 4);
    struct Row
    {
        const char *name;
        QImage image;
        BmpLayout layout;
        QImage expected;
    };
    const Row rows[] = {
        {"1-bit", mono, {40, 1, 0, false, paletteOf(mono)}, mono},
        {"2-bit", four, {40, 2, 0, false, paletteOf(four)}, four},
        {"4-bit", sixteen, {40, 4, 0, false, paletteOf(sixteen)}, sixteen},
        {"8-bit", full, {40, 8, 0, false, paletteOf(full)}, full},
        {"8-bit, OS/2 core header", full, {12, 8, 0, false, paletteOf(full)}, full},
        {"24-bit", rgb, {40, 24}, rgb},
        {"24-bit, version 5 header", rgb, {124, 24}, rgb},
        {"16-bit, 5-5-5", rgb, {40, 16}, quantised(rgb, 5)},
        {"16-bit bit fields 4-4-4", rgb, {40, 16, 3, false, {}, {0x0F00, 0x00F0, 0x000F}}, quantised(rgb, 4)},
        {"16-bit bit fields in a version 3 header", rgb, {56, 16, 3, false, {}, {0x0F00, 0x00F0, 0x000F, 0}},
         quantised(rgb, 4)},
        {"32-bit", rgb, {40, 32}, rgb},
        {"32-bit bit fields 10-10-10", rgb, {40, 32, 3, false, {}, {0x3FF00000, 0x000FFC00, 0x000003FF}}, rgb},
        {"32-bit bit fields, version 4 header", rgb, {108, 32, 3, false, {}, {0xFF, 0xFF00, 0xFF0000, 0}}, rgb},
    };
    for (const Row &row : rows) {
        for (bool topDown : {false, true}) {
            if (topDown && row.layout.headerSize == 12)
                continue; // the core header's height is unsigned
            BmpLayout layout = row.layout;
            layout.topDown = topDown;
            const QString name = QStringLiteral("%1, %2").arg(row.name, topDown ? "top-down" : "bottom-up");
            QTest::newRow(qPrintable(name)) << row.image << layout << row.expected.convertToFormat(QImage::Format_RGB32);
        }
    }
}

void TestBmpReader::everyLayoutGivesThePixels()
{
    QFETCH(QImage, image);
    QFETCH(BmpLayout, layout);
    QFETCH(QImage, expected);

    const imaging::Image read = imaging::decodeImage(bmpOf(image, layout));
    QCOMPARE(read.pixels.format(), QImage::Format_RGB32);
    QCOMPARE(read.pixels, expected);
}

void TestBmpReader::alphaFieldIsCompositedOntoWhite()
{
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(0, 0, 255, 102)); // 40 % blue
    image.setPixel(1, 0, qRgba(255, 0, 0, 255));
    const BmpLayout layout{124, 32, 3, false, {}, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}};
    const imaging::Image read = imaging::decodeImage(bmpOf(image, layout));
    QCOMPARE(read.pixels.pixel(0, 0), qRgb(153, 153, 255));
    QCOMPARE(read.pixels.pixel(1, 0), qRgb(255, 0, 0));
}

void TestBmpReader::runLengthDataIsDecoded_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("rows");

    // Rows top to bottom; R, G, B, K are palette entries 0 to 3, '.' a
    // skipped pixel (white), 'X' an index past the palette (black).
    const BmpLayout rle8 = runLength(8);
    QTest::newRow("RLE8 runs and ends of line")
        << fixtures::bmpFile(rle8, 4, 2, codes({4, 1, 0, 0, 2, 0, 2, 2, 0, 0, 0, 1})) << QStringList{"RRBB", "GGGG"};
    QTest::newRow("RLE8 literal with padding")
        << fixtures::bmpFile(rle8, 4, 1, codes({0, 3, 2, 1, 0, 0, 1, 3, 0, 0, 0, 1})) << QStringList{"BGRK"};
    QTest::newRow("RLE8 move skips pixels")
        << fixtures::bmpFile(rle8, 4, 2, codes({1, 3, 0, 2, 2, 1, 1, 2, 0, 1})) << QStringList{"...B", "K..."};
    QTest::newRow("RLE8 early end of bitmap") << fixtures::bmpFile(rle8, 3, 2, codes({3, 1, 0, 1}))
                                              << QStringList{"...", "GGG"};
    QTest::newRow("RLE8 index past the palette is black")
        << fixtures::bmpFile(runLength(8, 2), 2, 1, codes({2, 7, 0, 1})) << QStringList{"XX"};
    QTest::newRow("RLE8 last end of bitmap missing")
        << fixtures::bmpFile(rle8, 2, 1, codes({2, 1, 0, 0})) << QStringList{"GG"};
    const BmpLayout rle4 = runLength(4);
    QTest::newRow("RLE4 alternating run") << fixtures::bmpFile(rle4, 5, 1, codes({5, 0x12, 0, 1}))
                                          << QStringList{"GBGBG"};
    QTest::newRow("RLE4 literal with padding")
        << fixtures::bmpFile(rle4, 3, 1, codes({0, 3, 0x30, 0x10, 0, 1})) << QStringList{"KRG"};
    BmpLayout topDown = rle8;
    topDown.topDown = true;
    QTest::newRow("RLE8 top-down") << fixtures::bmpFile(topDown, 2, 2, codes({2, 0, 0, 0, 2, 2, 0, 1}))
                                   << QStringList{"RR", "BB"};
}

void TestBmpReader::runLengthDataIsDecoded()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, rows);

    const imaging::Image read = imaging::decodeImage(bytes);
    const QRgb colours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(10, 20, 30)};
    QCOMPARE(read.pixels.size(), QSize(int(rows[0].size()), int(rows.size())));
    for (int y = 0; y < rows.size(); ++y)
        for (int x = 0; x < rows[y].size(); ++x) {
            const QChar c = rows[y][x];
            const QRgb expected = c == u'.' ? qRgb(255, 255, 255)
                                  : c == u'X' ? qRgb(0, 0, 0)
                                              : colours[QStringLiteral("RGBK").indexOf(c)];
            QCOMPARE(read.pixels.pixel(x, y), expected);
        }
}

void TestBmpReader::brokenFilesAreRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Error::Kind>("kind");

    const BmpLayout rle8 = runLength(8);
    const BmpLayout rle4 = runLength(4);
    const Error::Kind damaged = Error::Kind::Damaged;
    QTest::newRow("RLE8 run past its row") << fixtures::bmpFile(rle8, 4, 2, codes({5, 1, 0, 1})) << damaged;
    QTest::newRow("RLE8 run continuing a full row") << fixtures::bmpFile(rle8, 4, 2, codes({4, 1, 1, 1, 0, 1}))
                                                    << damaged;
    QTest::newRow("RLE4 run past its row") << fixtures::bmpFile(rle4, 4, 1, codes({6, 0x11, 0, 1})) << damaged;
    QTest::newRow("RLE8 literal past its row") << fixtures::bmpFile(rle8, 2, 1, codes({0, 3, 1, 1, 1, 0, 0, 1}))
                                               << damaged;
    QTest::newRow("RLE8 move past the image") << fixtures::bmpFile(rle8, 4, 2, codes({0, 2, 0, 3, 0, 1})) << damaged;
    QTest::newRow("RLE8 rows after the last") << fixtures::bmpFile(rle8, 2, 1, codes({2, 1, 0, 0, 2, 1, 0, 1}))
                                              << damaged;
    QTest::newRow("RLE8 data ending before the last row") << fixtures::bmpFile(rle8, 2, 2, codes({2, 1, 0, 0}))
                                                          << damaged;
    QTest::newRow("RLE8 literal cut short") << fixtures::bmpFile(rle8, 4, 1, codes({0, 4, 1, 1})) << damaged;
    QTest::newRow("RLE8 with 4 bits per pixel") << fixtures::bmpFile(BmpLayout{40, 4, 1}, 2, 1, codes({0, 1}))
                                                << damaged;

    const QImage rgb = fixtures::pattern(kWidth, kHeight);
    const QByteArray plain = bmpOf(rgb, BmpLayout{});
    QTest::newRow("rows cut short") << plain.left(plain.size() - 1) << damaged;
    QTest::newRow("info header cut short") << plain.left(30) << damaged;
    QTest::newRow("information header of 5 bytes") << fixtures::bmpFile(BmpLayout{5}, 1, 1, QByteArray(4, '\0'))
                                                   << damaged;
    QTest::newRow("embedded JPEG") << fixtures::bmpFile(BmpLayout{40, 0, 4}, 1, 1, QByteArray(16, '\0'))
                                   << Error::Kind::Unsupported;
    QTest::newRow("embedded PNG") << fixtures::bmpFile(BmpLayout{40, 0, 5}, 1, 1, QByteArray(16, '\0'))
                                  << Error::Kind::Unsupported;
    QTest::newRow("OS/2 Huffman") << fixtures::bmpFile(BmpLayout{64, 1, 3}, 1, 1, QByteArray(16, '\0'))
                                  << Error::Kind::Unsupported;
    QTest::newRow("64 bits per pixel") << fixtures::bmpFile(BmpLayout{40, 64}, 1, 1, QByteArray(8, '\0'))
                                       << Error::Kind::Unsupported;
}

void TestBmpReader::brokenFilesAreRefused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Error::Kind, kind);

    const fixtures::Failure failure = fixtures::failureOf([&] { (void)imaging::decodeBmp(bytes); });
    QVERIFY2(failure.failed, "a broken file was read");
    QCOMPARE(failure.kind, kind);
    QVERIFY2(failure.description.contains(u'('), qPrintable(failure.description)); // the reason names the fault
}

void TestBmpReader::headerOdditiesAreTolerated()
{
    const QImage rgb = fixtures::pattern(kWidth, kHeight);
    BmpLayout layout;
    layout.dotsPerMeter = 0;
    QByteArray bmp = bmpOf(rgb, layout);
    qToLittleEndian<quint32>(12345, bmp.data() + 2); // file size
    qToLittleEndian<quint32>(0, bmp.data() + 10);    // pixel offset inside the headers
    qToLittleEndian<quint32>(7, bmp.data() + 34);    // image size

    const imaging::Image read = imaging::decodeImage(bmp);
    QCOMPARE(read.pixels, rgb);
    QCOMPARE(read.dpiX, 96.0);
    QCOMPARE(imaging::probeImage(bmp).size, rgb.size());
}

QTEST_GUILESS_MAIN(TestBmpReader)
#include "tst_bmpreader.moc"
