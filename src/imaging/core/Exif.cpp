#include "imaging/core/Exif.h"

#include <QTransform>
#include <QtEndian>

namespace imaging {

namespace {

constexpr quint16 kOrientationTag = 0x0112;
constexpr quint16 kTypeShort = 3;
constexpr qsizetype kEntrySize = 12;

// Reads a TIFF block in its own byte order. Every read is bounds-checked: one
// past the end returns 0 and turns ok() false for good.
class TiffBlock
{
public:
    explicit TiffBlock(QByteArrayView bytes) : m_bytes(bytes)
    {
        if (bytes.size() >= 8 && bytes.first(4) == QByteArrayView("II*\0", 4))
            m_little = true;
        else if (bytes.size() >= 8 && bytes.first(4) == QByteArrayView("MM\0*", 4))
            m_little = false;
        else
            m_ok = false;
    }

    bool ok() const { return m_ok; }

    quint16 u16(qint64 offset)
    {
        if (!fits(offset, 2))
            return 0;
        const char *p = m_bytes.data() + offset;
        return m_little ? qFromLittleEndian<quint16>(p) : qFromBigEndian<quint16>(p);
    }

    quint32 u32(qint64 offset)
    {
        if (!fits(offset, 4))
            return 0;
        const char *p = m_bytes.data() + offset;
        return m_little ? qFromLittleEndian<quint32>(p) : qFromBigEndian<quint32>(p);
    }

private:
    bool fits(qint64 offset, qint64 length)
    {
        if (offset < 0 || offset + length > m_bytes.size())
            m_ok = false;
        return m_ok;
    }

    QByteArrayView m_bytes;
    bool m_little = true;
    bool m_ok = true;
};

QImage turnedClockwise(const QImage &image, int degrees)
{
    return image.transformed(QTransform().rotate(degrees));
}

} // namespace

int exifOrientation(QByteArrayView app1Payload)
{
    const QByteArrayView signature("Exif\0\0", 6);
    if (!app1Payload.startsWith(signature))
        return kUpright;
    return tiffBlockOrientation(app1Payload.sliced(signature.size()));
}

int tiffBlockOrientation(QByteArrayView block)
{
    TiffBlock tiff(block);
    const qint64 ifd = tiff.u32(4);
    const quint16 entries = tiff.u16(ifd);
    for (qint64 i = 0; tiff.ok() && i < entries; ++i) {
        const qint64 entry = ifd + 2 + i * kEntrySize;
        if (tiff.u16(entry) != kOrientationTag)
            continue;
        const quint16 type = tiff.u16(entry + 2);
        const quint32 count = tiff.u32(entry + 4);
        const quint16 value = tiff.u16(entry + 8);
        if (!tiff.ok() || type != kTypeShort || count < 1 || value < 1 || value > 8)
            return kUpright;
        return value;
    }
    return kUpright;
}

bool orientationSwapsSides(int orientation)
{
    return orientation >= 5 && orientation <= 8;
}

QImage applyOrientation(const QImage &stored, int orientation)
{
    switch (orientation) {
    case 2: return stored.mirrored(true, false);
    case 3: return stored.mirrored(true, true);
    case 4: return stored.mirrored(false, true);
    case 5: return turnedClockwise(stored, 90).mirrored(true, false);
    case 6: return turnedClockwise(stored, 90);
    case 7: return turnedClockwise(stored, 90).mirrored(false, true);
    case 8: return turnedClockwise(stored, 270);
    default: return stored;
    }
}

} // namespace imaging
