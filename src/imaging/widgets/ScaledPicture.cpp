#include "imaging/widgets/ScaledPicture.h"

namespace imaging::display {

const QImage &ScaledPicture::get(Handle handle, const QImage &source, QSize size)
{
    if (handle != m_handle || m_picture.size() != size) {
        // Area-averaging scale: no aliasing when shrinking a large photo.
        m_picture = source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_handle = handle;
    }
    return m_picture;
}

void ScaledPicture::clear()
{
    m_handle = 0;
    m_picture = QImage();
}

} // namespace imaging::display
