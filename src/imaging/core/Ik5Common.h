#pragma once

#include <QObject>

#include "imaging/core/ImageStore.h"

namespace imaging {

// The suite's common control: attributes, resolution and release of the
// image named by handle(). Dispatch ids of the members in brackets.
class Ik5Common : public QObject
{
    Q_OBJECT

public:
    explicit Ik5Common(QObject *parent = nullptr);

    Handle handle() const { return m_handle; } // [20]
    void setHandle(Handle handle) { m_handle = handle; } // [20]

    // [1] Releases the image handle() names; releasing 0 or a released image
    // does nothing. handle() keeps the number, which now names nothing.
    void release();

    // [6] Reads width, height and data size of the image handle() names;
    // throws Error(InvalidHandle) for 0 or a released image. The values stay
    // as read until the next readAttributes(); before the first, all are 0.
    void readAttributes();
    qint32 width() const { return m_width; } // [25]
    qint32 height() const { return m_height; } // [26]
    // [29] Bytes of the pixels as uncompressed 24-bit rows padded to 4 bytes,
    // what an uncompressed BMP of the image holds.
    qint64 dataSize() const { return m_dataSize; }

    qint32 resolutionX() const { return m_resolutionX; }
    void setResolutionX(qint32 dpi) { m_resolutionX = dpi; } // [23]
    qint32 resolutionY() const { return m_resolutionY; }
    void setResolutionY(qint32 dpi) { m_resolutionY = dpi; } // [24]

    // [4] Gives the image handle() names the resolution set above (0..65535
    // DPI; 0 means none is known). The result is a new image whose handle
    // replaces handle(); the old image is released, so whoever held the old
    // handle now holds a stale one, which every call treats as "no image",
    // and nothing leaks. On failure nothing changes. Throws
    // Error(InvalidHandle) or Error(InvalidArgument).
    void applyResolution();

private:
    Handle m_handle = 0;
    qint32 m_width = 0;
    qint32 m_height = 0;
    qint64 m_dataSize = 0;
    qint32 m_resolutionX = 0;
    qint32 m_resolutionY = 0;
};

// Bytes of a width x height image stored as 24-bit rows padded to 4 bytes.
[[nodiscard]] qint64 paddedRgbDataSize(qint64 width, qint64 height);

} // namespace imaging
