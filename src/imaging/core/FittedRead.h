#pragma once

#include <QByteArrayView>
#include <QSize>
#include <QString>

#include "imaging/core/Codec.h"
#include "imaging/core/Image.h"

namespace imaging {

// Reading a file into a given size, the one way thumbnails, slides, contact
// sheets and the batch all do it: a JPEG is decoded at the smallest DCT
// scale still kShrinkHeadroom times the target (see Codec.h), resampled with
// resizeImage's Lanczos filter over the exact area the stored image fills,
// and only then turned upright, so a photo stored on its side turns the
// small result, not the large decode. The resolution is the file's.
// Throws what the readers throw, and Error(TooLarge / InvalidArgument) for a
// target beyond the limits of Image.h or empty. Progress covers reading and
// resampling; `threads` is passed to resizeImage (0: its default; a worker of
// a pool gives 1).

// Exactly target (upright), whatever the image's proportions.
[[nodiscard]] Image decodeImageShrunk(QByteArrayView data, QSize target, const ProgressFn &progress = {},
                                      int threads = 0);
[[nodiscard]] Image readImageFileShrunk(const QString &path, QSize target, const ProgressFn &progress = {},
                                        int threads = 0);

// As large as fits inside box with the image's proportions; an image that
// already fits keeps its size unless allowEnlarge.
[[nodiscard]] Image decodeImageFitted(QByteArrayView data, QSize box, bool allowEnlarge,
                                      const ProgressFn &progress = {}, int threads = 0);
[[nodiscard]] Image readImageFileFitted(const QString &path, QSize box, bool allowEnlarge,
                                        const ProgressFn &progress = {}, int threads = 0);

// The size an image of `size` takes inside box: the side that limits it
// fills the box exactly, the other is rounded and at least 1.
[[nodiscard]] QSize fittedSize(QSize size, QSize box, bool allowEnlarge);

} // namespace imaging
