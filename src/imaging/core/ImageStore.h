#pragma once

#include <unordered_map>

#include <QCoreApplication>
#include <QThread>
#include <QtGlobal>

#include "imaging/core/Image.h"

namespace imaging {

using Handle = qint32;

// The store and the Ik5 controls belong to the GUI thread (see Image.h):
// asserted in debug builds wherever an application object exists.
inline void assertGuiThread()
{
    Q_ASSERT_X(!QCoreApplication::instance() || QThread::currentThread() == QCoreApplication::instance()->thread(),
               "imaging", "the image store and the Ik5 controls are used from the GUI thread only");
}

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
