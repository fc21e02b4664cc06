// Our PCX reader: every depth and plane layout, run-length and plain, line
// padding, palettes, resolution, and the ways a PCX file can be broken.

#include <QtTest>

#include "CodecFixtures.h"
#include "base/Error.h"
#include "imaging/core/PcxReader.h"

using fixtures::PcxLayout;
using imaging::Error;

Q_DECLARE_METATYPE(fixtures::PcxLayout)

namespace {

QByteArray withByte(QByteArray bytes, qsizetype at, int value)
{
    bytes[at] = static_cast<char>(value);
    return bytes;
}

} // namespace

class TestPcxReader : public QObject
{
    Q_OBJECT

private slots:
    void decodesEveryLayout_data();
    void decodesEveryLayout();
    void blankTwoColourPaletteIsBlackOnWhite();
    void resolutionComesFromTheHeader_data();
    void resolutionComesFromTheHeader();
    void brokenFilesAreRefused_data();
    void brokenFilesAreRefused();
};

void TestPcxReader::decodesEveryLayout_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<PcxLayout>("layout");

    // 13 pixels wide: no layout fills its lines exactly, so padding is read.
    const struct
    {
        const char *name;
        int bits;
        int planes;
        int colours;
    } paletted[] = {
        {"2 colours, 1 bit", 1, 1, 2},
        {"4 colours, 1 bit x 2 planes", 1, 2, 4},
        {"8 colours, 1 bit x 3 planes", 1, 3, 8},
        {"16 colours, 1 bit x 4 planes", 1, 4, 16},
        {"16 colours, 4 bits packed", 4, 1, 16},
        {"256 colours, 8 bits", 8, 1, 256},
    };
    for (const auto &row : paletted) {
        for (bool runLength : {true, false}) {
            const QString name = QStringLiteral("%1, %2").arg(row.name, runLength ? "run-length" : "plain");
            QTest::newRow(qPrintable(name)) << fixtures::indexedPattern(13, 7, row.colours)
                                            << PcxLayout{row.bits, row.planes, runLength};
        }
    }
    QTest::newRow("24 bits, run-length") << fixtures::pattern(13, 7) << PcxLayout{8, 3, true};
    QTest::newRow("24 bits, plain") << fixtures::pattern(13, 7) << PcxLayout{8, 3, false};
    QImage flat(200, 3, QImage::Format_RGB32);
    flat.fill(qRgb(0xC1, 0xFF, 0x00)); // bytes of 0xC0 and above are always coded as runs
    QTest::newRow("24 bits, runs longer than 63 bytes") << flat << PcxLayout{8, 3, true};
    QTest::newRow("256 colours, 300 x 200") << fixtures::indexedPattern(300, 200, 256) << PcxLayout{8, 1, true};
}

void TestPcxReader::decodesEveryLayout()
{
    QFETCH(QImage, image);
    QFETCH(PcxLayout, layout);

    const imaging::Image read = imaging::decodePcx(fixtures::pcxFile(image, layout));
    QCOMPARE(read.pixels.format(), QImage::Format_RGB32);
    QCOMPARE(read.pixels, image.convertToFormat(QImage::Format_RGB32));
}

void TestPcxReader::blankTwoColourPaletteIsBlackOnWhite()
{
    QImage image = fixtures::indexedPattern(9, 4, 2);
    image.setColorTable({qRgb(0, 0, 0), qRgb(0, 0, 0)});

    const imaging::Image read = imaging::decodePcx(fixtures::pcxFile(image, {1, 1, true}));
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    QCOMPARE(read.pixels, image.convertToFormat(QImage::Format_RGB32));
}

void TestPcxReader::resolutionComesFromTheHeader_data()
{
    QTest::addColumn<int>("hdpi");
    QTest::addColumn<int>("vdpi");
    QTest::addColumn<double>("dpiX");
    QTest::addColumn<double>("dpiY");

    QTest::newRow("300 x 150") << 300 << 150 << 300.0 << 150.0;
    QTest::newRow("none given: 96") << 0 << 0 << 96.0 << 96.0;
}

void TestPcxReader::resolutionComesFromTheHeader()
{
    QFETCH(int, hdpi);
    QFETCH(int, vdpi);
    QFETCH(double, dpiX);
    QFETCH(double, dpiY);

    const imaging::Image read = imaging::decodePcx(fixtures::pcxFile(fixtures::pattern(4, 4), {8, 3, true}, hdpi, vdpi));
    QCOMPARE(read.dpiX, dpiX);
    QCOMPARE(read.dpiY, dpiY);
}

void TestPcxReader::brokenFilesAreRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Error::Kind>("kind");

    const QImage rgb = fixtures::pattern(13, 7);
    const QByteArray runLength = fixtures::pcxFile(rgb, {8, 3, true});
    const QByteArray plain = fixtures::pcxFile(rgb, {8, 3, false});
    const QByteArray indexed = fixtures::pcxFile(fixtures::indexedPattern(13, 7, 256), {8, 1, false});
    const QByteArray mono = fixtures::pcxFile(fixtures::indexedPattern(13, 7, 2), {1, 1, true});
    constexpr qsizetype kBitsAt = 3, kPlanesAt = 65, kBytesPerLineAt = 66;

    QTest::newRow("header cut short") << runLength.left(100) << Error::Kind::Damaged;
    QTest::newRow("header only") << runLength.left(128) << Error::Kind::Damaged;
    QTest::newRow("run-length data cut short") << runLength.left(runLength.size() - 5) << Error::Kind::Damaged;
    QTest::newRow("run-length data cut inside a run") << mono.left(129) << Error::Kind::Damaged;
    QTest::newRow("plain data cut short") << plain.left(plain.size() - 1) << Error::Kind::Damaged;
    QTest::newRow("256 colours without the palette") << indexed.left(indexed.size() - 769) << Error::Kind::Damaged;
    QTest::newRow("256 colours, palette marker wrong")
        << withByte(indexed, indexed.size() - 769, 0x0B) << Error::Kind::Damaged;
    QTest::newRow("line length shorter than the width") << withByte(plain, kBytesPerLineAt, 2) << Error::Kind::Damaged;
    QTest::newRow("2 bits per pixel") << withByte(mono, kBitsAt, 2) << Error::Kind::Unsupported;
    QTest::newRow("8 bits x 4 planes") << withByte(plain, kPlanesAt, 4) << Error::Kind::Unsupported;
    QTest::newRow("4 bits x 4 planes") << withByte(withByte(mono, kBitsAt, 4), kPlanesAt, 4)
                                        << Error::Kind::Unsupported;
    QTest::newRow("no planes") << withByte(plain, kPlanesAt, 0) << Error::Kind::Unsupported;
}

void TestPcxReader::brokenFilesAreRefused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Error::Kind, kind);

    try {
        (void)imaging::decodePcx(bytes);
        QFAIL("a broken file was read");
    } catch (const Error &error) {
        QVERIFY2(error.kind() == kind, qPrintable(error.description()));
    }
}

QTEST_GUILESS_MAIN(TestPcxReader)
#include "tst_pcxreader.moc"
