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
    assertGuiThread();
    if (m_last == std::numeric_limits<Handle>::max())
        throw Error::of(Error::Kind::TooLarge, QStringLiteral("画像の番号を使い切りました"));
    ++m_last;
    m_images.emplace(m_last, std::move(image));
    return m_last;
}

const Image *ImageStore::find(Handle handle) const
{
    assertGuiThread();
    const auto it = m_images.find(handle);
    return it == m_images.end() ? nullptr : &it->second;
}

const Image &ImageStore::get(Handle handle) const
{
    if (const Image *image = find(handle))
        return *image;
    throw Error::of(Error::Kind::InvalidHandle,
                    handle == 0 ? QString() : QStringLiteral("画像 %1 は解放されています").arg(handle));
}

void ImageStore::release(Handle handle)
{
    assertGuiThread();
    m_images.erase(handle);
}

} // namespace imaging
