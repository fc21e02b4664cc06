#pragma once

#include <functional>

#include <QString>

// Vocabulary shared by the image readers and writers.

namespace imaging {

// Receives whole percentages 0..100 while a file is read or written.
using ProgressFn = std::function<void(int percent)>;

// Passes progress on only when the whole percentage grows, so a caller that
// yields to the event loop on every report is not flooded.
class ProgressReporter
{
public:
    explicit ProgressReporter(ProgressFn fn) : m_fn(std::move(fn)) {}
    void report(int percent);
    void done() { report(100); }

private:
    ProgressFn m_fn;
    int m_last = -1;
};

// What a reduced read must still deliver, measured on the upright image:
// at least width x height, and a long side of at least longSide. Zero puts
// no bound on that measure.
struct MinimumSize
{
    int width = 0;
    int height = 0;
    int longSide = 0;
};

// A reduced read meant for shrinking to `target` asks for twice that size.
// JPEG's 1/2, 1/4 and 1/8 scales are block averages: sharper and more aliased
// than the Lanczos filter that makes the final size. Left with less than a
// factor of two to do, the filter cannot undo that, and 800-pixel copies of
// real photos land 3 to 6 dB further from a full-size read shrunk the same
// way; with a factor of two or more the loss is a fraction of a dB, while
// the read still skips three quarters of the IDCT work whenever the photo is
// four times the target or more.
inline constexpr int kShrinkHeadroom = 2;
[[nodiscard]] constexpr MinimumSize withShrinkHeadroom(MinimumSize target)
{
    return {target.width * kShrinkHeadroom, target.height * kShrinkHeadroom, target.longSide * kShrinkHeadroom};
}

// Files store resolution per inch, per centimetre or per metre; images carry
// dots per inch, and 96 when a file says nothing.
inline constexpr double kDefaultDpi = 96.0;
[[nodiscard]] double dpiFromDotsPerMeter(int dotsPerMeter);
[[nodiscard]] int dotsPerMeterFromDpi(double dpi);

// The failures every reader raises the same way.
[[noreturn]] void throwDamaged(const QString &reason);
[[noreturn]] void throwUnsupported(const QString &detail = {});

// "Premature end of data" -> "premature end of data": library and system
// messages start upper case, our descriptions do not.
[[nodiscard]] QString lowerFirst(QString text);

} // namespace imaging
