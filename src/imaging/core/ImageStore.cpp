#include "imaging/core/ImageStore.h"

#include <limits>

#include "base/Error.h"

namespace imaging {

ImageStore &ImageStore::instance()
{
    static ImageStore store;
    return store;
}

Handle ImageStore::add(Image image)
{
    if (m_last == std::numeric_limits<Handle>::max())
        throw Error(Error::Kind::TooLarge, QStringLiteral("no image handles left"));
    ++m_last;
    m_images.emplace(m_last, std::move(image));
    return m_last;
}

const Image *ImageStore::find(Handle handle) const
{
    const auto it = m_images.find(handle);
    return it == m_images.end() ? nullptr : &it->second;
}

const Image &ImageStore::get(Handle handle) const
{
    if (const Image *image = find(handle))
        return *image;
    throw Error(Error::Kind::InvalidHandle,
                handle == 0 ? QStringLiteral("no image") : QStringLiteral("image %1 was released").arg(handle));
}

void ImageStore::release(Handle handle)
{
    m_images.erase(handle);
}

} // namespace imaging
