#include "rules/SlideInterval.h"

#include <limits>

#include "base/Error.h"
#include "rules/TextRules.h"

namespace rules {

qint32 slideIntervalSeconds(QStringView text)
{
    constexpr qint32 kLongest = std::numeric_limits<qint32>::max() / 1000;
    const double seconds = textrules::roundHalfEven(textrules::leadingNumber(text));
    // Zero and less never advance by themselves; they only have to fit.
    if (!(seconds >= std::numeric_limits<qint32>::min() && seconds <= kLongest))
        throw imaging::Error(imaging::Error::Kind::InvalidArgument,
                             QStringLiteral("コマ送りの間隔が長すぎます。%1 秒までにして下さい。").arg(kLongest));
    return qint32(seconds);
}

} // namespace rules
