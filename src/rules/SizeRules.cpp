#include "rules/SizeRules.h"

#include <cmath>

#include "base/Error.h"
#include "imaging/core/Ik5Common.h"
#include "rules/TextRules.h"

namespace sizerules {

using textrules::leadingNumber;
using textrules::multiply32;
using textrules::toInt16;
using textrules::toInt32;

namespace {

[[noreturn]] void fail(const QString &description)
{
    throw imaging::Error(imaging::Error::Kind::InvalidArgument, description);
}

// R(a x b / divisor): the product of the two whole numbers in checked 32-bit
// arithmetic, the quotient in double precision.
qint32 scaled(qint32 a, qint32 b, qint32 divisor)
{
    return toInt32(double(multiply32(a, b)) / divisor);
}

} // namespace

PixelSize longSideSize(PixelSize image, qint32 n)
{
    if (image.width > image.height)
        return {n, scaled(image.height, n, image.width)};
    if (image.width < image.height)
        return {scaled(image.width, n, image.height), n};
    return {n, n};
}

PixelSize shortSideSize(PixelSize image, qint32 n)
{
    if (image.width > image.height)
        return {scaled(image.width, n, image.height), n};
    if (image.width < image.height)
        return {n, scaled(image.height, n, image.width)};
    return {n, n};
}

PixelSize kbyteSize(PixelSize image, qint32 currentKbyte, qint32 targetKbyte)
{
    if (currentKbyte == 0)
        fail(QStringLiteral("0 で除算しました。"));
    const double ratio = double(targetKbyte) / currentKbyte;
    if (ratio < 0.0)
        textrules::throwInvalidCall();
    const double s = std::sqrt(ratio);
    const double w = image.width;
    const double h = image.height;
    // Left to right as the rule is written: the long side's product first.
    if (image.width > image.height)
        return {toInt32(w * s), toInt32(w * s * h / w)};
    if (image.width < image.height)
        return {toInt32(h * s * w / h), toInt32(h * s)};
    return {toInt32(w * s), toInt32(h * s)};
}

PixelSize boxSize(PixelSize image, qint16 boxWidth, qint16 boxHeight)
{
    const qint32 bw = boxWidth;
    const qint32 bh = boxHeight;
    if (image.width > image.height) {
        const double heightAtBoxWidth = double(multiply32(bw, image.height)) / image.width;
        if (heightAtBoxWidth > bh)
            return {scaled(bh, image.width, image.height), bh};
        return {bw, scaled(bw, image.height, image.width)};
    }
    if (image.width < image.height) {
        const double widthAtBoxHeight = double(multiply32(bh, image.width)) / image.height;
        if (widthAtBoxHeight > bw)
            return {bw, scaled(bw, image.height, image.width)};
        return {scaled(bh, image.width, image.height), bh};
    }
    return {bw, bh};
}

qint32 currentKbyte(PixelSize image)
{
    return toInt32(double(imaging::paddedRgbDataSize(image.width, image.height)) / 1000.0);
}

PixelSize newSize(const RuleTexts &texts, PixelSize image)
{
    switch (texts.rule) {
    case Rule::LongSide:
        return longSideSize(image, textrules::strictInt32(texts.side));
    case Rule::ShortSide:
        return shortSideSize(image, textrules::strictInt32(texts.side));
    case Rule::Free:
        return {toInt32(leadingNumber(texts.width)), toInt32(leadingNumber(texts.height))};
    case Rule::Kbyte:
        return kbyteSize(image, currentKbyte(image), textrules::strictInt32(texts.kbyte));
    case Rule::Box:
        return boxSize(image, toInt16(leadingNumber(texts.width)), toInt16(leadingNumber(texts.height)));
    }
    textrules::throwInvalidCall();
}

qint32 resolutionDpi(QStringView text)
{
    constexpr qint32 kMaxStoredDpi = 65535;
    const qint32 dpi = toInt32(leadingNumber(text));
    if (dpi < 0 || dpi > kMaxStoredDpi)
        fail(QStringLiteral("解像度 %1 dpi は保存できません (0 から %2 まで)").arg(dpi).arg(kMaxStoredDpi));
    return dpi;
}

} // namespace sizerules
