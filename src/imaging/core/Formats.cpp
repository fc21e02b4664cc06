#include "imaging/core/Formats.h"

#include <algorithm>
#include <array>

#include <QtEndian>

namespace imaging {

namespace {

bool startsWith(QByteArrayView data, QByteArrayView magic)
{
    return data.size() >= magic.size() && data.first(magic.size()) == magic;
}

quint8 byteAt(QByteArrayView data, qsizetype offset)
{
    return static_cast<quint8>(data[offset]);
}

// "BM" alone also starts ordinary text; a BMP long enough to carry its info
// header must name one of the header sizes in use.
bool looksLikeBmp(QByteArrayView data)
{
    if (!startsWith(data, "BM"))
        return false;
    if (data.size() < 18)
        return true; // too short to tell: the reader reports it as damaged
    const quint32 headerSize = qFromLittleEndian<quint32>(data.data() + 14);
    constexpr std::array<quint32, 8> known = {12, 16, 40, 52, 56, 64, 108, 124};
    return std::find(known.begin(), known.end(), headerSize) != known.end();
}

bool looksLikePcx(QByteArrayView data)
{
    if (data.size() < 4 || byteAt(data, 0) != 0x0A)
        return false;
    const quint8 version = byteAt(data, 1);
    const quint8 encoding = byteAt(data, 2);
    const quint8 bits = byteAt(data, 3);
    const bool knownVersion = version == 0 || (version >= 2 && version <= 5);
    const bool knownBits = bits == 1 || bits == 2 || bits == 4 || bits == 8;
    return knownVersion && encoding <= 1 && knownBits;
}

} // namespace

FileFormat sniffFormat(QByteArrayView head)
{
    if (startsWith(head, "\xFF\xD8\xFF"))
        return FileFormat::Jpeg;
    if (startsWith(head, "\x89PNG\r\n\x1A\n"))
        return FileFormat::Png;
    if (startsWith(head, QByteArrayView("II*\0", 4)) || startsWith(head, QByteArrayView("MM\0*", 4)))
        return FileFormat::Tiff;
    if (startsWith(head, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        return FileFormat::FlashPix;
    if (looksLikeBmp(head))
        return FileFormat::Bmp;
    if (looksLikePcx(head))
        return FileFormat::Pcx;
    return FileFormat::Unknown;
}

} // namespace imaging
