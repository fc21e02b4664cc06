#pragma once

#include <QImage>
#include <QSize>

#include "imaging/core/ImageStore.h"

namespace imaging::display {

// A smoothly scaled copy of one shown image, kept while the image and the
// size stay the same: a 20-megapixel photo is scaled once, not on every
// repaint. Handles are never reused, so a handle names the same pixels for
// as long as it is valid.
class ScaledPicture
{
public:
    [[nodiscard]] const QImage &get(Handle handle, const QImage &source, QSize size);
    void clear();

private:
    Handle m_handle = 0;
    QImage m_picture;
};

} // namespace imaging::display
