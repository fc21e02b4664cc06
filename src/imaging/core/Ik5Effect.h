#pragma once

#include <optional>
#include <span>

#include <QObject>

#include "imaging/core/Image.h"
#include "imaging/core/ImageStore.h"
#include "imaging/core/Codec.h" // ProgressFn, ProgressReporter

namespace imaging {

// The suite's effect control: reads the image named by source() and leaves a
// new image, owned by the caller, in result(). The source image is never
// changed. Dispatch ids of the members in brackets.
//
// Every effect first sets result() to 0, so a call that fails never leaves
// an older image looking like its result. A source of 0 or of a released
// image throws Error(InvalidHandle); arguments outside what an effect takes
// throw Error(InvalidArgument); a result beyond the size limits of Image.h
// throws Error(TooLarge). Long effects emit progress() in whole percent,
// from 0 to 100, each value once.
class Ik5Effect : public QObject
{
    Q_OBJECT

public:
    explicit Ik5Effect(QObject *parent = nullptr);

    Handle source() const { return m_source; } // [50]
    void setSource(Handle handle) { m_source = handle; } // [50]
    Handle result() const { return m_result; } // [53]

    // [31] Resizes to width x height. Every filter value, the callers' -1
    // included, gets the high-quality Lanczos-3 filter. A width or height
    // below 1 makes no image and returns 0 without an error; otherwise the
    // new handle.
    Handle resize(qint32 width, qint32 height, qint32 filter);

    // [32] Mirrors (mirrorHorizontal / mirrorVertical nonzero), then turns by
    // angle in 1/100 degree. For the fixed turns (freeAngle 0) a negative
    // angle turns clockwise; for a typed angle (freeAngle nonzero) a positive
    // angle turns clockwise. Multiples of 90 degrees move pixels exactly and
    // swap the x and y resolution on odd quarter turns; other angles turn
    // onto a canvas that holds the whole image, its new corners filled with
    // red, green, blue (0..255). `reserved` changes nothing. Returns the new
    // handle.
    Handle rotate(qint32 angle, qint32 mirrorHorizontal, qint32 mirrorVertical, qint32 freeAngle,
                  qint16 red, qint16 green, qint16 blue, qint32 reserved);

    // [26] Cuts to the bounding rectangle of the first `count` corners
    // (xs[i], ys[i]) in image pixels, clipped to the image; right and bottom
    // are exclusive (see Cut.h). The last three arguments are reserved
    // (callers pass 0). Returns the new handle.
    Handle cutPolygon(std::span<const qint32> xs, std::span<const qint32> ys, qint32 count,
                      qint16 reserved1, qint16 reserved2, qint16 reserved3);

    // [10] Adds red, green, blue (-255..255) to the channels. The three
    // leading arguments are reserved (callers pass 0). Returns the new handle.
    Handle brightness(qint16 reserved1, qint16 reserved2, qint32 reserved3, qint32 red, qint32 green,
                      qint32 blue);
    // [11] Contrast per channel, -3.0..3.0, 0 the identity (curve in Adjust.h).
    Handle contrast(qint16 reserved1, qint16 reserved2, qint32 reserved3, double red, double green,
                    double blue);
    // [9] Saturation level -100 (grey) .. 0 (unchanged) .. 1000.
    Handle saturation(qint16 reserved1, qint16 reserved2, qint32 reserved3, qint32 level);

    // [57], [58] Processing options the callers set before an effect (1 for
    // colour adjustments; 2 and true for trimming). Kept and reported back;
    // the effects above already do what those callers ask, so the options
    // change nothing.
    qint16 optionMode() const { return m_optionMode; }
    void setOptionMode(qint16 mode) { m_optionMode = mode; } // [57]
    bool optionFlag() const { return m_optionFlag; }
    void setOptionFlag(bool flag) { m_optionFlag = flag; } // [58]

    // [23] Keeps a private copy of the source image (pixels and resolution)
    // and puts its pixels on the system clipboard, replacing what was there.
    // Without a GUI application only the private copy is kept.
    void copyToClipboard();
    // [22] A new image from the private copy, also in result(); the copy
    // stays. Whatever the clipboard holds meanwhile does not matter. Throws
    // Error(InvalidHandle) when there is no copy.
    Handle newFromCopy();
    bool hasCopy() const { return m_copy.has_value(); } // [25]
    void dropCopy() { m_copy.reset(); } // [24]

signals:
    void progress(int percent); // [event 9]

private:
    // Runs make(sourceImage, progress) -> Image and stores its result.
    template<typename Make>
    Handle produce(const Make &make);

    Handle m_source = 0;
    Handle m_result = 0;
    qint16 m_optionMode = 0;
    bool m_optionFlag = false;
    std::optional<Image> m_copy;
};

} // namespace imaging
