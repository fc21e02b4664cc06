#pragma once

#include <QImage>
#include <QtGlobal>

// Threads. Decoders, encoders, probes and effects (everything that takes
// and returns images or bytes: ImageReader, ImageWriter, the codecs, Resize,
// Rotate, Adjust, Cut) are reentrant: worker threads may call them at the
// same time, each on its own images; an Image's pixels are shared only
// read-only between threads. ImageStore and the Ik5 controls (Ik5File,
// Ik5Effect, Ik5Common and the widgets) belong to the GUI thread and assert
// it: a worker hands its decoded Image to the GUI thread, which stores it.

namespace imaging {

class Error;

// One image of the suite: its pixels and its resolution in dots per inch.
// Pixels are always QImage::Format_RGB32 (opaque; transparency is composited
// onto white when a file is read), so every effect handles one layout.
struct Image
{
    QImage pixels;
    double dpiX = 96.0;
    double dpiY = 96.0;
};

// The largest image we agree to hold. Declared sizes in a file are checked
// against these before any pixel is allocated: a 12000 x 9000 photo opens,
// a forged 65535 x 65535 header does not.
inline constexpr qint64 kMaxSide = 30000;
inline constexpr qint64 kMaxPixels = 200'000'000;

// A new RGB32 image of width x height, its contents undefined. Throws
// Error(TooLarge) when memory runs out. Large images get memory the kernel
// may back with huge pages: on a virtual machine touching 80 MB in 4 KiB
// pages costs more than decoding a 20-megapixel photo into them.
[[nodiscard]] QImage allocateImage(int width, int height);
// The failure of running out of memory, and throwing it.
[[nodiscard]] Error outOfMemory();
[[noreturn]] void throwOutOfMemory();

// Throws Error: TooLarge when w x h is beyond the limits, InvalidArgument
// when it is empty.
void checkImageSize(qint64 width, qint64 height);
// The same test without throwing.
[[nodiscard]] bool imageSizeAllowed(qint64 width, qint64 height);

} // namespace imaging
