#pragma once

// Small images with known pixels, made in code, and the store's images a
// test adds.

#include <vector>

#include <QColor>
#include <QImage>

#include "imaging/core/ImageStore.h"

namespace testsupport {

inline QImage solid(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}
inline QImage solid(int width, int height, const QColor &colour)
{
    return solid(width, height, colour.rgb());
}
// Without this one, Qt::red would be taken as the number 7.
inline QImage solid(int width, int height, Qt::GlobalColor colour)
{
    return solid(width, height, QColor(colour));
}

// Left half `left`, right half `right`: a turned, mirrored, stretched or
// cut picture shows in both halves.
inline QImage halves(int width, int height, QRgb left, QRgb right)
{
    QImage image = solid(width, height, left);
    for (int y = 0; y < height; ++y)
        for (int x = width / 2; x < width; ++x)
            image.setPixel(x, y, right);
    return image;
}

// Every pixel different (for up to 256 pixels, and nearly so beyond), so a
// moved, lost or duplicated pixel shows.
inline QImage numbered(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 7 % 256, y * 11 % 256, (x + y * width) % 256));
    return image;
}

// Puts an image into the store; whoever takes the handle releases it.
inline imaging::Handle addImage(const QImage &pixels, double dpiX = 96.0, double dpiY = 96.0)
{
    return imaging::ImageStore::instance().add(
        imaging::Image{pixels.convertToFormat(QImage::Format_RGB32), dpiX, dpiY});
}

// The pixels a handle names; a null image for a released one.
inline QImage pixelsOf(imaging::Handle handle)
{
    const imaging::Image *image = imaging::ImageStore::instance().find(handle);
    return image ? image->pixels : QImage();
}

inline std::size_t imageCount()
{
    return imaging::ImageStore::instance().count();
}

// Images put into the store by one test, released when it ends.
class StoredImages
{
public:
    StoredImages() = default;
    StoredImages(const StoredImages &) = delete;
    StoredImages &operator=(const StoredImages &) = delete;
    ~StoredImages()
    {
        for (const imaging::Handle handle : m_handles)
            imaging::ImageStore::instance().release(handle);
    }

    imaging::Handle add(const QImage &pixels)
    {
        m_handles.push_back(addImage(pixels));
        return m_handles.back();
    }

private:
    std::vector<imaging::Handle> m_handles;
};

} // namespace testsupport
