#include "imaging/core/Codec.h"

#include <algorithm>
#include <cmath>

#include "base/Error.h"

namespace imaging {

namespace {
constexpr double kMetresPerInch = 0.0254;
} // namespace

void ProgressReporter::report(int percent)
{
    percent = std::clamp(percent, 0, 100);
    if (percent <= m_last)
        return;
    m_last = percent;
    if (m_fn)
        m_fn(percent);
}

double dpiFromDotsPerMeter(int dotsPerMeter)
{
    if (dotsPerMeter <= 0)
        return kDefaultDpi;
    const double dpi = dotsPerMeter * kMetresPerInch;
    // Pixels per metre is how a whole DPI was stored (96 dpi -> 3780): give
    // that whole number back rather than 96.012.
    const double whole = std::round(dpi);
    return dotsPerMeterFromDpi(whole) == dotsPerMeter ? whole : dpi;
}

int dotsPerMeterFromDpi(double dpi)
{
    if (!(dpi > 0.0))
        dpi = kDefaultDpi;
    return static_cast<int>(std::lround(std::min(dpi / kMetresPerInch, 1e9)));
}

void throwDamaged(const QString &reason)
{
    throw Error(Error::Kind::Damaged, QStringLiteral("damaged file: %1").arg(reason));
}

void throwUnsupported(const QString &detail)
{
    throw Error(Error::Kind::Unsupported,
                detail.isEmpty() ? QStringLiteral("unsupported format")
                                 : QStringLiteral("unsupported format: %1").arg(detail));
}

QString lowerFirst(QString text)
{
    // Keep acronyms such as "JPEG" or "IDAT" as they are.
    if (text.size() >= 2 && text[0].isUpper() && text[1].isLower())
        text[0] = text[0].toLower();
    return text;
}

} // namespace imaging
