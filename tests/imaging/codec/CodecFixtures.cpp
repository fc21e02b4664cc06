#include "CodecFixtures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>


#include <jpeglib.h>

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QtEndian>

#include "imaging/core/JpegCodec.h"

#include "FixtureBytes.h"

namespace fixtures {

namespace {


void putBigEndian16(QByteArray &data, qsizetype at, int value)
{
    qToBigEndian<quint16>(static_cast<quint16>(value), data.data() + at);
}

void putLittleEndian16(QByteArray &data, qsizetype at, int value)
{
    qToLittleEndian<quint16>(static_cast<quint16>(value), data.data() + at);
}

// Offset of the segment with this marker, walking the segments after SOI.
qsizetype findSegment(const QByteArray &jpeg, bool (*wanted)(int marker))
{
    qsizetype pos = 2;
    while (pos + 4 <= jpeg.size() && static_cast<quint8>(jpeg[pos]) == 0xFF) {
        const int marker = static_cast<quint8>(jpeg[pos + 1]);
        if (wanted(marker))
            return pos;
        pos += 2 + qFromBigEndian<quint16>(jpeg.constData() + pos + 2);
    }
    std::fprintf(stderr, "fixture: JPEG segment not found\n");
    std::abort();
}

bool isFrameHeader(int marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool isApp0(int marker)
{
    return marker == 0xE0;
}

// A libjpeg encoder writing to memory; the default error handler ends the
// test program, which is what a broken fixture deserves.
class RawJpegWriter
{
public:
    RawJpegWriter(int width, int height, int components, J_COLOR_SPACE inSpace)
    {
        m_cinfo.err = jpeg_std_error(&m_errors);
        jpeg_create_compress(&m_cinfo);
        jpeg_mem_dest(&m_cinfo, &m_buffer, &m_size);
        m_cinfo.image_width = static_cast<JDIMENSION>(width);
        m_cinfo.image_height = static_cast<JDIMENSION>(height);
        m_cinfo.input_components = components;
        m_cinfo.in_color_space = inSpace;
        jpeg_set_defaults(&m_cinfo);
    }
    ~RawJpegWriter()
    {
        jpeg_destroy_compress(&m_cinfo);
        std::free(m_buffer);
    }
    RawJpegWriter(const RawJpegWriter &) = delete;
    RawJpegWriter &operator=(const RawJpegWriter &) = delete;

    jpeg_compress_struct &cinfo() { return m_cinfo; }

    // Writes every row from the same samples.
    QByteArray writeRepeatedRow(QByteArray row)
    {
        jpeg_start_compress(&m_cinfo, TRUE);
        JSAMPROW rowPointer = reinterpret_cast<JSAMPROW>(row.data());
        while (m_cinfo.next_scanline < m_cinfo.image_height)
            jpeg_write_scanlines(&m_cinfo, &rowPointer, 1);
        jpeg_finish_compress(&m_cinfo);
        return QByteArray(reinterpret_cast<const char *>(m_buffer), static_cast<qsizetype>(m_size));
    }

private:
    jpeg_error_mgr m_errors{};
    jpeg_compress_struct m_cinfo{};
    unsigned char *m_buffer = nullptr;
    unsigned long m_size = 0;
};

QByteArray tiff(int width, int height, const QByteArray &pixels, bool bigEndian)
{
    constexpr int kEntries = 9;
    constexpr quint32 kIfdAt = 8;
    constexpr quint32 kBitsAt = kIfdAt + 2 + kEntries * 12 + 4;
    constexpr quint32 kPixelsAt = kBitsAt + 6;
    constexpr quint16 kShort = 3, kLong = 4;
    Bytes out(bigEndian);
    out.raw(bigEndian ? QByteArray("MM\0*", 4) : QByteArray("II*\0", 4)).u32(kIfdAt).u16(kEntries);
    auto entry = [&out](quint16 tag, quint16 type, quint32 count, quint32 value) {
        out.u16(tag).u16(type).u32(count);
        if (type == kShort && count == 1)
            out.u16(value).u16(0); // a short sits in the first two bytes
        else
            out.u32(value);
    };
    entry(256, kLong, 1, quint32(width));
    entry(257, kLong, 1, quint32(height));
    entry(258, kShort, 3, kBitsAt);
    entry(259, kShort, 1, 1); // no compression
    entry(262, kShort, 1, 2); // RGB
    entry(273, kLong, 1, kPixelsAt);
    entry(277, kShort, 1, 3);
    entry(278, kLong, 1, quint32(std::max(height, 1)));
    entry(279, kLong, 1, quint32(pixels.size()));
    out.u32(0).u16(8).u16(8).u16(8).raw(pixels);
    return out.data();
}

// Colour i of the fixtures' palettes: distinct for every i below 256.
QRgb paletteColour(int i)
{
    return qRgb(i, 255 - i, (i * 97) & 0xFF);
}

int pcxBytesPerLine(int width, int bitsPerPixel)
{
    const int bytes = (width * bitsPerPixel + 7) / 8;
    return bytes + bytes % 2; // lines are an even number of bytes
}

// The plane bytes of one line, planes one after the other.
QByteArray pcxLine(const QImage &image, int y, PcxLayout layout, int bytesPerLine)
{
    QByteArray line(qsizetype(bytesPerLine) * layout.planes, '\0');
    auto *bytes = reinterpret_cast<uchar *>(line.data());
    for (int x = 0; x < image.width(); ++x) {
        if (layout.bitsPerPixel == 8 && layout.planes == 3) {
            const QRgb c = image.pixel(x, y);
            bytes[x] = uchar(qRed(c));
            bytes[bytesPerLine + x] = uchar(qGreen(c));
            bytes[2 * bytesPerLine + x] = uchar(qBlue(c));
            continue;
        }
        const int index = image.pixelIndex(x, y);
        if (layout.bitsPerPixel == 8) {
            bytes[x] = uchar(index);
        } else if (layout.bitsPerPixel == 4) {
            bytes[x / 2] = uchar(bytes[x / 2] | (x % 2 == 0 ? index << 4 : index));
        } else {
            for (int p = 0; p < layout.planes; ++p)
                bytes[p * bytesPerLine + x / 8] = uchar(bytes[p * bytesPerLine + x / 8] | (((index >> p) & 1) << (7 - x % 8)));
        }
    }
    return line;
}

QByteArray pcxRunLength(const QByteArray &line)
{
    QByteArray out;
    for (qsizetype i = 0; i < line.size();) {
        qsizetype run = 1;
        while (i + run < line.size() && run < 63 && line[i + run] == line[i])
            ++run;
        const auto byte = static_cast<quint8>(line[i]);
        if (run > 1 || byte >= 0xC0)
            out.append(static_cast<char>(0xC0 | run));
        out.append(line[i]);
        i += run;
    }
    return out;
}

} // namespace

QImage pattern(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 37 + y * 11) & 0xFF, (x * 13 + y * 53 + 100) & 0xFF,
                                      (x * 71 + y * 5 + 200) & 0xFF));
    return image;
}

imaging::Image patternImage(int width, int height, double dpiX, double dpiY)
{
    return imaging::Image{pattern(width, height), dpiX, dpiY};
}

QImage smooth(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 255 / std::max(width - 1, 1), y * 255 / std::max(height - 1, 1),
                                      (x + y) * 255 / std::max(width + height - 2, 1)));
    return image;
}

double psnr(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return 0.0;
    double squares = 0.0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            for (int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)})
                squares += d * d;
        }
    }
    if (squares == 0.0)
        return std::numeric_limits<double>::infinity();
    const double mse = squares / (3.0 * a.width() * a.height());
    return 10.0 * std::log10(255.0 * 255.0 / mse);
}

QByteArray jpegOf(const QImage &pixels, int quality)
{
    return imaging::encodeJpeg(imaging::Image{pixels}, quality, false);
}

QByteArray withSegment(const QByteArray &jpeg, int marker, const QByteArray &payload)
{
    Bytes segment(true);
    segment.u8(0xFF).u8(marker).u16(quint32(payload.size() + 2)).raw(payload);
    QByteArray out = jpeg;
    out.insert(2, segment.data());
    return out;
}

QByteArray exifPayload(int orientation, bool bigEndian)
{
    Bytes tiffBlock(bigEndian);
    tiffBlock.raw(bigEndian ? QByteArray("MM\0*", 4) : QByteArray("II*\0", 4)).u32(8);
    tiffBlock.u16(1).u16(0x0112).u16(3).u32(1).u16(quint32(orientation)).u16(0).u32(0);
    return QByteArray("Exif\0\0", 6) + tiffBlock.data();
}

QByteArray withJpegSize(const QByteArray &jpeg, int width, int height)
{
    QByteArray out = jpeg;
    const qsizetype frame = findSegment(out, isFrameHeader);
    putBigEndian16(out, frame + 5, height);
    putBigEndian16(out, frame + 7, width);
    return out;
}

QByteArray withJfifDensity(const QByteArray &jpeg, int unit, int x, int y)
{
    QByteArray out = jpeg;
    const qsizetype app0 = findSegment(out, isApp0);
    out[app0 + 11] = static_cast<char>(unit);
    putBigEndian16(out, app0 + 12, x);
    putBigEndian16(out, app0 + 14, y);
    return out;
}

QByteArray withoutJfif(const QByteArray &jpeg)
{
    QByteArray out = jpeg;
    const qsizetype app0 = findSegment(out, isApp0);
    out.remove(app0, 2 + qFromBigEndian<quint16>(out.constData() + app0 + 2));
    return out;
}

QByteArray progressiveWithRepeatedScans(int repeats, int side)
{
    RawJpegWriter writer(side, side, 1, JCS_GRAYSCALE);
    // Every coefficient once, at full precision: the DC band, then AC 1..63.
    static const jpeg_scan_info scans[] = {{1, {0, 0, 0, 0}, 0, 0, 0, 0}, {1, {0, 0, 0, 0}, 1, 63, 0, 0}};
    writer.cinfo().scan_info = scans;
    writer.cinfo().num_scans = 2;
    const QByteArray file = writer.writeRepeatedRow(QByteArray(side, '\x80'));

    // The last scan with the Huffman table written before it, up to EOI.
    const qsizetype lastScan = file.lastIndexOf("\xFF\xDA");
    const qsizetype itsTable = file.lastIndexOf("\xFF\xC4", lastScan);
    const QByteArray scan = file.mid(itsTable, file.size() - 2 - itsTable);
    QByteArray out = file.left(file.size() - 2);
    for (int i = 0; i < repeats; ++i)
        out += scan;
    return out + "\xFF\xD9";
}

QByteArray flatJpeg(int width, int height)
{
    RawJpegWriter writer(width, height, 1, JCS_GRAYSCALE);
    return writer.writeRepeatedRow(QByteArray(width, '\x60'));
}

QByteArray jpegInColourSpace(const char *space, const QByteArray &sample)
{
    constexpr int kSide = 16;
    const QByteArrayView name(space);
    const bool grey = name == "gray";
    RawJpegWriter writer(kSide, kSide, grey ? 1 : 4, grey ? JCS_GRAYSCALE : JCS_CMYK);
    if (name == "ycck")
        jpeg_set_colorspace(&writer.cinfo(), JCS_YCCK);
    if (name == "cmyk-plain")
        writer.cinfo().write_Adobe_marker = FALSE;
    return writer.writeRepeatedRow(sample.repeated(kSide));
}

QByteArray qtEncoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(image);
    return bytes;
}

QByteArray withPngSize(const QByteArray &png, quint32 width, quint32 height)
{
    QByteArray out = png;
    qToBigEndian<quint32>(width, out.data() + 16);
    qToBigEndian<quint32>(height, out.data() + 20);
    qToBigEndian<quint32>(crc32(QByteArrayView(out).sliced(12, 17)), out.data() + 29);
    return out;
}

QByteArray withBmpSize(const QByteArray &bmp, qint32 width, qint32 height)
{
    QByteArray out = bmp;
    qToLittleEndian<qint32>(width, out.data() + 18);
    qToLittleEndian<qint32>(height, out.data() + 22);
    return out;
}

QByteArray rle8Bmp(int width, int height)
{
    Bytes pixels;
    for (int y = 0; y < height; ++y) {
        for (int left = width; left > 0; left -= 255)
            pixels.u8(std::min(left, 255)).u8(1);
        pixels.u8(0).u8(0); // end of line
    }
    pixels.u8(0).u8(1); // end of bitmap
    constexpr quint32 kPixelsAt = 14 + 40 + 2 * 4;
    Bytes out;
    out.raw("BM").u32(kPixelsAt + quint32(pixels.size())).u32(0).u32(kPixelsAt);
    out.u32(40).u32(quint32(width)).u32(quint32(height)).u16(1).u16(8).u32(1 /* RLE8 */);
    out.u32(quint32(pixels.size())).u32(2835).u32(2835).u32(2).u32(0);
    out.u32(0x00000000).u32(0x0000C0FF); // black, orange (B, G, R, 0)
    return out.raw(pixels.data()).data();
}

QByteArray stripTiff(const QImage &image, bool bigEndian)
{
    QByteArray pixels;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            pixels.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
        }
    }
    return tiff(image.width(), image.height(), pixels, bigEndian);
}

QByteArray stripTiffDeclaring(int width, int height)
{
    return tiff(width, height, QByteArray(3, '\x40'), false);
}

QImage indexedPattern(int width, int height, int colours)
{
    QImage image(width, height, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < colours; ++i)
        table.append(paletteColour(i));
    image.setColorTable(table);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, uint((x * 3 + y * 5) % colours));
    return image;
}

QByteArray pcxFile(const QImage &image, PcxLayout layout, int hdpi, int vdpi)
{
    const int bytesPerLine = pcxBytesPerLine(image.width(), layout.bitsPerPixel);
    const QList<QRgb> table = image.colorTable();
    Bytes out;
    out.u8(0x0A).u8(5).u8(layout.runLength ? 1 : 0).u8(layout.bitsPerPixel);
    out.u16(0).u16(0).u16(quint32(image.width() - 1)).u16(quint32(image.height() - 1));
    out.u16(quint32(hdpi)).u16(quint32(vdpi));
    for (int i = 0; i < 16; ++i) {
        const QRgb c = layout.bitsPerPixel < 8 && i < table.size() ? table[i] : 0;
        out.u8(qRed(c)).u8(qGreen(c)).u8(qBlue(c));
    }
    out.u8(0).u8(layout.planes).u16(quint32(bytesPerLine)).u16(1);
    while (out.size() < 128)
        out.u8(0);
    for (int y = 0; y < image.height(); ++y) {
        const QByteArray line = pcxLine(image, y, layout, bytesPerLine);
        out.raw(layout.runLength ? pcxRunLength(line) : line);
    }
    if (layout.bitsPerPixel == 8 && layout.planes == 1) {
        out.u8(0x0C);
        for (int i = 0; i < 256; ++i) {
            const QRgb c = i < table.size() ? table[i] : 0;
            out.u8(qRed(c)).u8(qGreen(c)).u8(qBlue(c));
        }
    }
    return out.data();
}

QByteArray withPcxWindow(const QByteArray &pcx, int xmin, int ymin, int xmax, int ymax)
{
    QByteArray out = pcx;
    putLittleEndian16(out, 4, xmin);
    putLittleEndian16(out, 6, ymin);
    putLittleEndian16(out, 8, xmax);
    putLittleEndian16(out, 10, ymax);
    return out;
}

} // namespace fixtures

namespace fixtures {

namespace {

// A "Vm...: N kB" line of /proc/self/status, in bytes; -1 when missing.
qint64 statusBytes(const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toLongLong() * 1024;
    return -1;
}

} // namespace

Failure failureOf(const std::function<void()> &work)
{
    try {
        work();
    } catch (const imaging::Error &error) {
        return {true, error.kind(), error.description()};
    }
    return {};
}

qint64 peakMemoryGrowth(const std::function<void()> &work)
{
#if defined(__SANITIZE_ADDRESS__)
    constexpr bool sanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    constexpr bool sanitized = true;
#else
    constexpr bool sanitized = false;
#endif
#else
    constexpr bool sanitized = false;
#endif
    QFile reset(QStringLiteral("/proc/self/clear_refs"));
    if (sanitized || !reset.open(QIODevice::WriteOnly) || reset.write("5") != 1) {
        work();
        return -1;
    }
    reset.close();
    const qint64 before = statusBytes("VmRSS");
    work();
    const qint64 peak = statusBytes("VmHWM");
    return before < 0 || peak < 0 ? -1 : peak - before;
}

QByteArray withJpegPrecision(const QByteArray &jpeg, int bits)
{
    QByteArray out = jpeg;
    out[findSegment(out, isFrameHeader) + 4] = char(bits);
    return out;
}

QByteArray withBytesBeforeScan(const QByteArray &jpeg, const QByteArray &bytes)
{
    QByteArray out = jpeg;
    out.insert(findSegment(out, [](int marker) { return marker == 0xDA; }), bytes);
    return out;
}

QByteArray withBadHuffmanCode(const QByteArray &jpeg)
{
    QByteArray out = jpeg;
    const qsizetype scan = findSegment(out, [](int marker) { return marker == 0xDA; });
    const qsizetype data = scan + 2 + qFromBigEndian<quint16>(out.constData() + scan + 2);
    const qsizetype middle = data + (out.size() - 2 - data) / 2;
    for (qsizetype i = middle; i < middle + 64 && i + 1 < out.size() - 2; i += 2) {
        out[i] = '\xFF';
        out[i + 1] = '\0';
    }
    return out;
}

} // namespace fixtures
