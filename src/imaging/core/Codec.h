#pragma once

#include <exception>
#include <functional>

#include <QRectF>
#include <QSize>
#include <QString>

#include "imaging/core/Exif.h"
#include "imaging/core/Formats.h"
#include "imaging/core/Image.h"

// Vocabulary shared by the image readers and writers.

namespace imaging {

// Receives whole percentages 0..100 while a file is read or written.
//
// Cancelling: the callback stops the work by throwing, normally
// Error::of(Error::Kind::Cancelled). The exception comes out of the read or
// write call unchanged, and nothing of the half-done work is kept. It never
// unwinds through a C library's frames: where progress is reported from
// inside libjpeg (its progress monitor), the reporter catches the exception
// and says so (reportFromC returns false); the codec then leaves the library
// its own safe way (the same longjmp its errors take) and rethrows from C++.
// The other codecs report progress from their own loops between library
// calls, where the exception passes straight through.
using ProgressFn = std::function<void(int percent)>;

// Passes progress on only when the whole percentage grows, so a caller that
// yields to the event loop on every report is not flooded.
class ProgressReporter
{
public:
    explicit ProgressReporter(ProgressFn fn) : m_fn(std::move(fn)) {}
    // Whatever the callback throws comes out of here: call from C++ only.
    void report(int percent);
    void done() { report(100); }
    // For callbacks called by a C library: keeps what the callback threw and
    // returns false; the caller unwinds the library and then calls rethrow().
    [[nodiscard]] bool reportFromC(int percent) noexcept;
    [[nodiscard]] bool stopped() const { return m_failure != nullptr; }
    // Throws what the callback threw, if it did.
    void rethrowIfStopped() const;

private:
    ProgressFn m_fn;
    int m_last = -1;
    std::exception_ptr m_failure;
};

inline constexpr double kDefaultDpi = 96.0;

// Progress of one stage of a longer job: the stage's 0..100 become
// from..from + span of the whole.
[[nodiscard]] ProgressFn progressStage(ProgressReporter &whole, int from, int span);

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

// What a format's reader decodes: the pixels as the file stores them, not
// yet turned upright, so that a caller who shrinks them turns the small
// result instead of the large one.
struct StoredImage
{
    Image image;                // RGB32, resolution in stored orientation
    int orientation = kUpright; // how to turn it upright (Exif.h)
    QRectF filled;              // the part of the pixels the stored image fills, in stored pixels
};

// A stored image whose pixels are filled whole.
[[nodiscard]] StoredImage storedWhole(Image image, int orientation = kUpright);
// The image turned upright, its resolution following its sides.
[[nodiscard]] Image uprightOf(const StoredImage &stored);

// What a file holds, read from its header alone: the upright size and the
// resolution (dots per inch, 96 when the file names none).
struct ImageInfo
{
    FileFormat format = FileFormat::Unknown;
    QSize size;
    double dpiX = kDefaultDpi;
    double dpiY = kDefaultDpi;
};

// The information of a header in stored orientation, turned upright.
[[nodiscard]] ImageInfo uprightInfo(FileFormat format, QSize stored, double dpiX, double dpiY,
                                    int orientation = kUpright);

// Files store resolution per inch, per centimetre or per metre; images carry
// dots per inch, and 96 when a file says nothing.
[[nodiscard]] double dpiFromDotsPerMeter(int dotsPerMeter);
[[nodiscard]] int dotsPerMeterFromDpi(double dpi);
// A resolution read from a file: 96 when it is zero, negative or not a number.
[[nodiscard]] double dpiOrDefault(double dpi);

// The failures every reader raises the same way. The reason is said in
// Japanese where it is ours; a library's own message is passed as it is.
[[noreturn]] void throwDamaged(const QString &reason = {});
[[noreturn]] void throwUnsupported(const QString &detail = {});

// The size a file declares, checked before anything is allocated for it:
// Damaged when a side is 0 or negative, TooLarge beyond the limits of Image.h.
void checkDeclaredSize(qint64 width, qint64 height);

// Detail texts several readers use.
[[nodiscard]] QString truncatedText();  // the data stops before the image is complete

// Transparency composited onto white, in place: the pixels hold QRgb values
// whose alpha is not premultiplied (as in QImage::Format_ARGB32); afterwards
// they are opaque RGB32.
void compositeStraightAlphaOnWhite(QImage &pixels);

} // namespace imaging
