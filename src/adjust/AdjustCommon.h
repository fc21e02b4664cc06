#pragma once

#include <initializer_list>
#include <optional>
#include <vector>

#include <QString>
#include <QStringView>

#include "imaging/core/ImageStore.h"

namespace imaging {
class Ik5Common;
} // namespace imaging

// What the adjustment dialogs share: the working image of the main window,
// how a result goes there, and who releases the images they make.
namespace adjust {

// The working image: the main display's handle while it names a live image,
// else 0. A handle another window released counts as no image.
[[nodiscard]] imaging::Handle workingImage();

// The progress dialog's status line: the main window's file name followed
// directly by "処理中".
[[nodiscard]] QString processingStatus();

// Puts a dialog's result into the main display, fitted, and releases the
// image it replaces. Nothing happens when the image is no longer live or
// the main window is gone; returns whether the image went in.
bool applyToMainWindow(imaging::Handle image);

// Hides the main window's adjustments panel, if the main window is there.
void hideAdjustmentsPanel();

// The images one dialog made with its effect control. A dialog owns them
// until one becomes the working image; each is released once no display
// shows it and no later step reads it, so slider moves on a large photo
// never pile up images.
class OwnedImages
{
public:
    explicit OwnedImages(imaging::Ik5Common *releaser)
        : m_releaser(releaser)
    {
    }

    void add(imaging::Handle image);
    // Releases every image made here that is not one of keep.
    void releaseAllBut(std::initializer_list<imaging::Handle> keep);

private:
    imaging::Ik5Common *m_releaser;
    std::vector<imaging::Handle> m_images;
};

// The angle typed into the rotate dialog, in 1/100 degree as the free-angle
// rotation takes it: the leading number of the text times 100, rounded
// halves to even, negated for counter-clockwise. Throws imaging::Error when
// it does not fit in 32 bits.
[[nodiscard]] qint32 enteredAngle(QStringView text, bool clockwise);

// The saturation bar's position for a typed level: its leading number
// rounded halves to even, while the number lies in -100..1000; nothing for
// a number outside (the dialog warns). Throws imaging::Error when the
// number itself overflows.
[[nodiscard]] std::optional<qint16> saturationBarValue(QStringView text);

inline constexpr int kMinSaturation = -100;
inline constexpr int kMaxSaturation = 1000;

} // namespace adjust
