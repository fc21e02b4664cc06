#include "imaging/core/BmpReader.h"

#include <bit>
#include <cstdlib>

#include <QList>
#include <QtEndian>

#include "base/Error.h"

namespace imaging {

namespace {

constexpr qsizetype kFileHeaderSize = 14;
constexpr quint32 kCoreHeaderSize = 12; // OS/2 1.x: 16-bit sizes, 3-byte palette entries
constexpr quint32 kInfoHeaderSize = 40;

enum Compression : quint32 {
    Rgb = 0,
    Rle8 = 1,
    Rle4 = 2,
    Bitfields = 3, // OS/2 2.x headers: Huffman 1D
    Jpeg = 4,      // OS/2 2.x headers: RLE24
    Png = 5,
    AlphaBitfields = 6,
};

// One channel of a bit-field pixel: where its bits lie and how many there are.
struct Channel
{
    quint32 mask = 0;
    int shift = 0;
    quint32 max = 0;

    static Channel of(quint32 mask)
    {
        Channel c{mask};
        if (mask != 0) {
            c.shift = std::countr_zero(mask);
            c.max = mask >> c.shift;
        }
        return c;
    }

    int value(quint32 pixel, int absent) const
    {
        if (max == 0)
            return absent;
        const quint32 v = (pixel & mask) >> shift;
        return max == 255 ? int(v) : int((qint64(v) * 255 + max / 2) / max);
    }
};

struct Header
{
    qint64 width = 0;
    qint64 height = 0; // always positive; topDown says which way rows go
    bool topDown = false;
    int bits = 0;
    quint32 compression = Rgb;
    qint64 pixelsAt = 0;
    Channel red, green, blue, alpha;
    QList<QRgb> palette;
    int dotsPerMeterX = 0;
    int dotsPerMeterY = 0;
};

quint32 le32(QByteArrayView data, qsizetype at)
{
    return qFromLittleEndian<quint32>(data.data() + at);
}

quint16 le16(QByteArrayView data, qsizetype at)
{
    return qFromLittleEndian<quint16>(data.data() + at);
}

[[noreturn]] void throwTruncated()
{
    throwDamaged(truncatedText());
}

bool isOs2Header(quint32 size)
{
    return size != kInfoHeaderSize && size >= 16 && size <= 64 && size != 52 && size != 56;
}

void requireKnownLayout(const Header &h, bool os2)
{
    if (os2 && h.compression == Bitfields)
        throwUnsupported(QStringLiteral("ハフマン圧縮の BMP"));
    if (os2 && h.compression == Jpeg)
        throwUnsupported(QStringLiteral("RLE24 の BMP"));
    if (h.compression == Jpeg)
        throwUnsupported(QStringLiteral("JPEG を含む BMP"));
    if (h.compression == Png)
        throwUnsupported(QStringLiteral("PNG を含む BMP"));
    const bool known = h.bits == 1 || h.bits == 2 || h.bits == 4 || h.bits == 8 || h.bits == 16 || h.bits == 24
                       || h.bits == 32;
    if (!known)
        throwUnsupported(QStringLiteral("%1 ビットの BMP").arg(h.bits));
    switch (h.compression) {
    case Rgb: return;
    case Rle8:
        if (h.bits != 8)
            throwDamaged(QStringLiteral("RLE8 なのに %1 ビットです").arg(h.bits));
        return;
    case Rle4:
        if (h.bits != 4)
            throwDamaged(QStringLiteral("RLE4 なのに %1 ビットです").arg(h.bits));
        return;
    case Bitfields:
    case AlphaBitfields:
        if (h.bits != 16 && h.bits != 32)
            throwDamaged(QStringLiteral("ビットフィールドなのに %1 ビットです").arg(h.bits));
        return;
    default: throwUnsupported(QStringLiteral("圧縮方式 %1 の BMP").arg(h.compression));
    }
}

// Bit fields: in the header from version 2 on, after a 40-byte header
// otherwise. Only bit-field files name an alpha field we honour; the fourth
// byte of a plain 32-bit file is padding.
void readMasks(QByteArrayView data, quint32 headerSize, Header &h, qsizetype &afterHeaders)
{
    if (h.compression != Bitfields && h.compression != AlphaBitfields) {
        const bool fiveBits = h.bits == 16;
        h.red = Channel::of(fiveBits ? 0x7C00 : 0xFF0000);
        h.green = Channel::of(fiveBits ? 0x03E0 : 0x00FF00);
        h.blue = Channel::of(fiveBits ? 0x001F : 0x0000FF);
        return;
    }
    const int fields = h.compression == AlphaBitfields || headerSize >= 56 ? 4 : 3;
    const qsizetype at = kFileHeaderSize + kInfoHeaderSize;
    if (headerSize == kInfoHeaderSize)
        afterHeaders += 4 * fields;
    if (data.size() < at + 4 * fields)
        throwTruncated();
    h.red = Channel::of(le32(data, at));
    h.green = Channel::of(le32(data, at + 4));
    h.blue = Channel::of(le32(data, at + 8));
    if (fields == 4)
        h.alpha = Channel::of(le32(data, at + 12));
}

// Entries that the file does not hold (the palette ends at the pixels or at
// the end of the file) are left out: an index past them is drawn black.
void readPalette(QByteArrayView data, qsizetype at, int entryBytes, quint32 declared, Header &h)
{
    if (h.bits > 8)
        return;
    const qint64 full = qint64(1) << h.bits;
    const qint64 wanted = declared == 0 || declared > full ? full : declared;
    qint64 end = data.size();
    if (h.pixelsAt >= at && h.pixelsAt < end)
        end = h.pixelsAt;
    const qint64 present = std::clamp<qint64>((end - at) / entryBytes, 0, wanted);
    h.palette.reserve(qsizetype(present));
    for (qint64 i = 0; i < present; ++i) {
        const qsizetype entry = at + qsizetype(i) * entryBytes;
        h.palette.append(qRgb(quint8(data[entry + 2]), quint8(data[entry + 1]), quint8(data[entry])));
    }
}

Header readHeader(QByteArrayView data)
{
    if (data.size() < kFileHeaderSize + 4)
        throwTruncated();
    constexpr quint32 kLargestHeader = 124; // version 5
    const quint32 headerSize = le32(data, kFileHeaderSize);
    if (headerSize != kCoreHeaderSize && headerSize < 16)
        throwDamaged(QStringLiteral("BMP の情報ヘッダーの長さが %1 です").arg(headerSize));
    const qsizetype headerEnd = kFileHeaderSize + qsizetype(headerSize);
    if (data.size() < kFileHeaderSize + qsizetype(std::min(headerSize, kLargestHeader)))
        throwTruncated();
    Header h;
    h.pixelsAt = le32(data, 10);
    quint32 paletteSize = 0;
    if (headerSize == kCoreHeaderSize) {
        h.width = le16(data, 18);
        h.height = le16(data, 20);
        h.bits = le16(data, 24);
    } else {
        // OS/2 2.x headers may stop after any field: what they leave out is 0.
        const auto field = [&](qsizetype at) { return at + 4 <= headerEnd && at + 4 <= data.size() ? le32(data, at) : 0u; };
        h.width = qint32(le32(data, 18));
        const qint64 height = qint32(le32(data, 22));
        h.topDown = height < 0;
        h.height = std::abs(height);
        h.bits = le16(data, 28);
        h.compression = field(30);
        h.dotsPerMeterX = qint32(field(38));
        h.dotsPerMeterY = qint32(field(42));
        paletteSize = field(46);
    }
    requireKnownLayout(h, isOs2Header(headerSize));
    checkDeclaredSize(h.width, h.height);

    qsizetype afterHeaders = headerEnd;
    readMasks(data, headerSize, h, afterHeaders);
    const int entryBytes = headerSize == kCoreHeaderSize ? 3 : 4;
    readPalette(data, afterHeaders, entryBytes, paletteSize, h);
    // An offset inside the headers cannot be meant: the pixels follow them.
    if (h.pixelsAt < afterHeaders)
        h.pixelsAt = afterHeaders + (h.bits <= 8 ? h.palette.size() * entryBytes : 0);
    if (h.pixelsAt > data.size())
        throwTruncated();
    return h;
}

QRgb paletteColour(const Header &h, int index)
{
    return index < h.palette.size() ? h.palette[index] : qRgb(0, 0, 0);
}

int outputRow(const Header &h, qint64 fileRow)
{
    return int(h.topDown ? fileRow : h.height - 1 - fileRow);
}

void convertRow(const Header &h, const uchar *in, QRgb *out)
{
    const int width = int(h.width);
    switch (h.bits) {
    case 1:
    case 2:
    case 4:
    case 8: {
        const int perByte = 8 / h.bits;
        const int mask = (1 << h.bits) - 1;
        for (int x = 0; x < width; ++x) {
            const int shift = (perByte - 1 - x % perByte) * h.bits;
            out[x] = paletteColour(h, (in[x / perByte] >> shift) & mask);
        }
        return;
    }
    case 24:
        for (int x = 0; x < width; ++x, in += 3)
            out[x] = qRgb(in[2], in[1], in[0]);
        return;
    default: // 16 and 32 bits: fields
        for (int x = 0; x < width; ++x) {
            const quint32 p = h.bits == 16 ? qFromLittleEndian<quint16>(in + 2 * x) : qFromLittleEndian<quint32>(in + 4 * x);
            out[x] = qRgba(h.red.value(p, 0), h.green.value(p, 0), h.blue.value(p, 0), h.alpha.value(p, 255));
        }
    }
}

void decodeRows(QByteArrayView data, const Header &h, QImage &pixels, ProgressReporter &reporter)
{
    const qint64 stride = (h.width * h.bits + 31) / 32 * 4;
    if (stride * h.height > data.size() - h.pixelsAt)
        throwTruncated();
    const auto *first = reinterpret_cast<const uchar *>(data.data() + h.pixelsAt);
    for (qint64 r = 0; r < h.height; ++r) {
        convertRow(h, first + r * stride, reinterpret_cast<QRgb *>(pixels.scanLine(outputRow(h, r))));
        reporter.report(int(r * 99 / h.height));
    }
    if (h.alpha.max != 0)
        compositeStraightAlphaOnWhite(pixels);
}

// Run-length codes: a run of one index (RLE8) or of two alternating
// nibbles (RLE4); escapes for end of line, end of bitmap, a move, and a
// literal stretch padded to a whole word.
class RunLengthDecoder
{
public:
    RunLengthDecoder(QByteArrayView data, const Header &h, QImage &pixels)
        : m_data(data), m_h(h), m_pixels(pixels), m_pos(h.pixelsAt), m_fourBit(h.compression == Rle4)
    {
    }

    void decode(ProgressReporter &reporter)
    {
        m_pixels.fill(qRgb(255, 255, 255));
        for (;;) {
            if (m_data.size() - m_pos < 2) {
                if (m_y >= m_h.height)
                    return; // every row is there; only the end code is missing
                throwTruncated();
            }
            const int count = byte();
            const int code = byte();
            if (count > 0)
                run(count, code);
            else if (code == 0)
                nextLine(reporter);
            else if (code == 1)
                return;
            else if (code == 2)
                move();
            else
                literal(code);
        }
    }

private:
    int byte() { return quint8(m_data[m_pos++]); }

    [[noreturn]] static void throwOutside()
    {
        throwDamaged(QStringLiteral("ランレングスのデータが画像の外を指しています"));
    }

    QRgb *reserve(int count)
    {
        if (m_y >= m_h.height || count > m_h.width - m_x)
            throwOutside();
        QRgb *at = reinterpret_cast<QRgb *>(m_pixels.scanLine(outputRow(m_h, m_y))) + m_x;
        m_x += count;
        return at;
    }

    void run(int count, int value)
    {
        QRgb *out = reserve(count);
        for (int i = 0; i < count; ++i) {
            const int index = m_fourBit ? (i % 2 == 0 ? value >> 4 : value & 0x0F) : value;
            out[i] = paletteColour(m_h, index);
        }
    }

    void literal(int count)
    {
        const qsizetype bytes = m_fourBit ? (count + 1) / 2 : count;
        const qsizetype padded = bytes + bytes % 2;
        if (m_data.size() - m_pos < padded)
            throwTruncated();
        QRgb *out = reserve(count);
        const auto *in = reinterpret_cast<const uchar *>(m_data.data() + m_pos);
        for (int i = 0; i < count; ++i) {
            const int index = m_fourBit ? (i % 2 == 0 ? in[i / 2] >> 4 : in[i / 2] & 0x0F) : in[i];
            out[i] = paletteColour(m_h, index);
        }
        m_pos += padded;
    }

    void nextLine(ProgressReporter &reporter)
    {
        m_x = 0;
        ++m_y;
        reporter.report(int(std::min(m_y, m_h.height) * 99 / m_h.height));
    }

    void move()
    {
        if (m_data.size() - m_pos < 2)
            throwTruncated();
        const int dx = byte();
        const int dy = byte();
        if (dx > m_h.width - m_x || dy > m_h.height - m_y)
            throwOutside();
        m_x += dx;
        m_y += dy;
    }

    QByteArrayView m_data;
    const Header &m_h;
    QImage &m_pixels;
    qsizetype m_pos;
    bool m_fourBit;
    qint64 m_x = 0;
    qint64 m_y = 0;
};

} // namespace

Image decodeBmp(QByteArrayView data, const ProgressFn &progress)
{
    ProgressReporter reporter(progress);
    reporter.report(0);
    const Header h = readHeader(data);
    QImage pixels = allocateImage(int(h.width), int(h.height));
    if (h.compression == Rle8 || h.compression == Rle4)
        RunLengthDecoder(data, h, pixels).decode(reporter);
    else
        decodeRows(data, h, pixels, reporter);
    Image image{pixels, dpiFromDotsPerMeter(h.dotsPerMeterX), dpiFromDotsPerMeter(h.dotsPerMeterY)};
    reporter.done();
    return image;
}

ImageInfo probeBmp(QByteArrayView data)
{
    const Header h = readHeader(data);
    return uprightInfo(FileFormat::Bmp, QSize(int(h.width), int(h.height)), dpiFromDotsPerMeter(h.dotsPerMeterX),
                       dpiFromDotsPerMeter(h.dotsPerMeterY));
}

} // namespace imaging
