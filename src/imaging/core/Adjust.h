#pragma once

#include <QImage>

#include "imaging/core/Codec.h" // ProgressFn, ProgressReporter

namespace imaging {

// Colour adjustments of an RGB32 image. Each returns a new image and leaves
// the source unchanged; each throws Error(InvalidArgument) for a value
// outside its range (a NaN included). Results are rounded and clamped to
// 0..255 per channel.

// Adds red, green and blue (each -255..255) to the matching channel.
[[nodiscard]] QImage adjustBrightness(const QImage &source, int red, int green, int blue,
                                      const ProgressFn &progress = {});

// Stretches each channel about the middle of the range:
//     out = 127.5 + (in - 127.5) * gain(c)
//     gain(c) = 1 + c        for c >= 0 (3 makes it four times as steep)
//     gain(c) = 1 + c / 3    for c <  0 (-3 gives flat mid-grey, 128)
// with c in -3..3 per channel; 0 is the identity and the result grows
// steadily with c, so repeated small steps never flip the image.
[[nodiscard]] QImage adjustContrast(const QImage &source, double red, double green, double blue,
                                    const ProgressFn &progress = {});
[[nodiscard]] double contrastGain(double c);

// Moves each channel away from (or towards) the pixel's luma
// Y = 0.299 R + 0.587 G + 0.114 B:
//     out = Y + (in - Y) * (1 + level / 100)
// with level in -100..1000: -100 is grey, 0 the identity, 100 twice the
// colour.
[[nodiscard]] QImage adjustSaturation(const QImage &source, int level, const ProgressFn &progress = {});

} // namespace imaging
