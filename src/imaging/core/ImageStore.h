#pragma once

#include <unordered_map>

#include <QtGlobal>

#include "imaging/core/Image.h"

namespace imaging {

using Handle = qint32;

// The process-wide table of images, the only owner of pixels. Handles are
// positive and never reused, so a stale handle can never name a newer image;
// 0 names nothing.
class ImageStore
{
public:
    static ImageStore &instance();

    [[nodiscard]] Handle add(Image image);
    // nullptr for 0 and for released handles.
    [[nodiscard]] const Image *find(Handle handle) const;
    // Throws Error(InvalidHandle) for 0 and for released handles.
    [[nodiscard]] const Image &get(Handle handle) const;
    [[nodiscard]] bool contains(Handle handle) const { return find(handle) != nullptr; }
    // Releasing 0 or a released handle does nothing.
    void release(Handle handle);

    [[nodiscard]] std::size_t count() const { return m_images.size(); }

private:
    ImageStore() = default;
    std::unordered_map<Handle, Image> m_images;
    Handle m_last = 0;
};

} // namespace imaging
