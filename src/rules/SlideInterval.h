#pragma once

#include <QStringView>
#include <QtGlobal>

namespace rules {

// The slideshow interval typed in seconds: the leading number of the text,
// rounded halves to even ("2.5" 2, "3.5" 4, "10秒" 10, "" 0). An interval
// whose milliseconds a timer cannot hold ("1e10") throws imaging::Error with
// the message the user sees, so nothing starts.
[[nodiscard]] qint32 slideIntervalSeconds(QStringView text);

} // namespace rules
