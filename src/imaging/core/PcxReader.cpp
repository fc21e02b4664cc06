#include "imaging/core/PcxReader.h"

#include <QtEndian>
#include <QList>

#include "imaging/core/Codec.h"
#include "base/Error.h"

namespace imaging {

namespace {

constexpr qsizetype kHeaderSize = 128;
constexpr qsizetype kTrailingPaletteSize = 1 + 256 * 3; // 0x0C marker, then RGB triples

enum class Layout {
    Planar1Bit, // 1 bit per plane, 1 to 4 planes: bit p of the colour index in plane p
    Packed4Bit, // two 16-colour pixels per byte, high nibble first
    Indexed8,   // one byte per pixel into the palette at the end of the file
    Rgb24,      // red, green and blue planes of a byte per pixel
};

struct Header
{
    Layout layout;
    qint64 width;
    qint64 height;
    int bytesPerLine; // per plane
    int planes;
    bool runLength;
    int hdpi;
    int vdpi;
};

int u8(QByteArrayView data, qsizetype offset)
{
    return static_cast<quint8>(data[offset]);
}

int u16(QByteArrayView data, qsizetype offset)
{
    return qFromLittleEndian<quint16>(data.data() + offset);
}

Layout layoutFor(int bitsPerPixel, int planes)
{
    if (bitsPerPixel == 1 && planes >= 1 && planes <= 4)
        return Layout::Planar1Bit;
    if (bitsPerPixel == 4 && planes == 1)
        return Layout::Packed4Bit;
    if (bitsPerPixel == 8 && planes == 1)
        return Layout::Indexed8;
    if (bitsPerPixel == 8 && planes == 3)
        return Layout::Rgb24;
    throwUnsupported(QStringLiteral("%1 ビット %2 プレーンの PCX").arg(bitsPerPixel).arg(planes));
}

Header readHeader(QByteArrayView data)
{
    if (data.size() < kHeaderSize)
        throwDamaged(truncatedText());
    const int bitsPerPixel = u8(data, 3);
    const int planes = u8(data, 65);
    Header header{layoutFor(bitsPerPixel, planes),
                  qint64(u16(data, 8)) - u16(data, 4) + 1,
                  qint64(u16(data, 10)) - u16(data, 6) + 1,
                  u16(data, 66),
                  planes,
                  u8(data, 2) == 1,
                  u16(data, 12),
                  u16(data, 14)};
    checkDeclaredSize(header.width, header.height);
    if (qint64(header.bytesPerLine) * 8 < header.width * bitsPerPixel)
        throwDamaged(QStringLiteral("PCX の行の長さが幅より短くなっています"));
    return header;
}

// The scanline bytes of the file, decoded from runs or read plainly.
class ByteSource
{
public:
    ByteSource(QByteArrayView data, bool runLength) : m_data(data), m_runLength(runLength) {}

    // Fills the line or fails: a file that ends early is damaged.
    void readLine(uchar *line, qsizetype length)
    {
        for (qsizetype i = 0; i < length; ++i)
            line[i] = next();
    }

private:
    uchar next()
    {
        while (m_repeat == 0) {
            const uchar byte = take();
            if (!m_runLength || (byte & 0xC0) != 0xC0)
                return byte;
            m_repeat = byte & 0x3F; // a run of 0 is legal and yields nothing
            m_value = take();
        }
        --m_repeat;
        return m_value;
    }

    uchar take()
    {
        if (m_pos >= m_data.size())
            throwDamaged(truncatedText());
        return static_cast<uchar>(m_data[m_pos++]);
    }

    QByteArrayView m_data;
    bool m_runLength;
    qsizetype m_pos = 0;
    int m_repeat = 0;
    uchar m_value = 0;
};

QList<QRgb> paletteAt(QByteArrayView data, qsizetype offset, int count)
{
    QList<QRgb> colours;
    colours.reserve(count);
    for (int i = 0; i < count; ++i) {
        const qsizetype at = offset + 3 * i;
        colours.append(qRgb(u8(data, at), u8(data, at + 1), u8(data, at + 2)));
    }
    return colours;
}

// Many two-colour files leave their header palette blank; they are black on
// white.
QList<QRgb> headerPalette(QByteArrayView data, const Header &header)
{
    QList<QRgb> colours = paletteAt(data, 16, 16);
    if (header.layout == Layout::Planar1Bit && header.planes == 1 && colours[0] == colours[1])
        return {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    return colours;
}

bool hasTrailingPalette(QByteArrayView data)
{
    return data.size() >= kHeaderSize + kTrailingPaletteSize && u8(data, data.size() - kTrailingPaletteSize) == 0x0C;
}

void convertLine(const Header &header, const QList<QRgb> &palette, const uchar *line, QRgb *out)
{
    const qsizetype plane = header.bytesPerLine;
    for (qint64 x = 0; x < header.width; ++x) {
        switch (header.layout) {
        case Layout::Planar1Bit: {
            int index = 0;
            for (int p = 0; p < header.planes; ++p)
                index |= ((line[p * plane + x / 8] >> (7 - x % 8)) & 1) << p;
            out[x] = palette[index];
            break;
        }
        case Layout::Packed4Bit:
            out[x] = palette[(line[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F];
            break;
        case Layout::Indexed8:
            out[x] = palette[line[x]];
            break;
        case Layout::Rgb24:
            out[x] = qRgb(line[x], line[plane + x], line[2 * plane + x]);
            break;
        }
    }
}

double resolution(int dotsPerInch)
{
    return dotsPerInch > 0 ? dotsPerInch : kDefaultDpi;
}

} // namespace

Image decodePcx(QByteArrayView data)
{
    const Header header = readHeader(data);
    QByteArrayView pixelData = data.sliced(kHeaderSize);
    QList<QRgb> palette;
    if (header.layout == Layout::Indexed8) {
        if (!hasTrailingPalette(data))
            throwDamaged(QStringLiteral("256 色のパレットがありません"));
        pixelData.chop(kTrailingPaletteSize);
        palette = paletteAt(data, data.size() - kTrailingPaletteSize + 1, 256);
    } else if (header.layout != Layout::Rgb24) {
        palette = headerPalette(data, header);
    }

    QImage pixels = allocateImage(int(header.width), int(header.height));
    QByteArray line(qsizetype(header.bytesPerLine) * header.planes, '\0');
    ByteSource source(pixelData, header.runLength);
    for (int y = 0; y < pixels.height(); ++y) {
        source.readLine(reinterpret_cast<uchar *>(line.data()), line.size());
        convertLine(header, palette, reinterpret_cast<const uchar *>(line.constData()),
                    reinterpret_cast<QRgb *>(pixels.scanLine(y)));
    }
    return Image{pixels, resolution(header.hdpi), resolution(header.vdpi)};
}

ImageInfo probePcx(QByteArrayView data)
{
    const Header header = readHeader(data);
    return uprightInfo(FileFormat::Pcx, QSize(int(header.width), int(header.height)), resolution(header.hdpi),
                       resolution(header.vdpi));
}

} // namespace imaging
