#include "imaging/core/Ik5Common.h"

#include "base/Error.h"

namespace imaging {
namespace {

// The largest density every format we write can store (JPEG keeps 16 bits).
constexpr qint32 kMaxResolution = 65535;

void checkResolution(qint32 dpi)
{
    if (dpi < 0 || dpi > kMaxResolution)
        throw Error::of(Error::Kind::InvalidArgument,
                        QStringLiteral("解像度 %1 dpi は 0..%2 の範囲外です").arg(dpi).arg(kMaxResolution));
}

} // namespace

Ik5Common::Ik5Common(QObject *parent)
    : QObject(parent)
{
}

void Ik5Common::release()
{
    ImageStore::instance().release(m_handle);
}

void Ik5Common::readAttributes()
{
    const Image &image = ImageStore::instance().get(m_handle);
    m_width = image.pixels.width();
    m_height = image.pixels.height();
    m_dataSize = paddedRgbDataSize(m_width, m_height);
}

void Ik5Common::applyResolution()
{
    checkResolution(m_resolutionX);
    checkResolution(m_resolutionY);
    auto &store = ImageStore::instance();
    Image changed = store.get(m_handle); // pixels are shared, not copied
    changed.dpiX = m_resolutionX;
    changed.dpiY = m_resolutionY;
    const Handle replacement = store.add(std::move(changed));
    store.release(m_handle);
    m_handle = replacement;
}

qint64 paddedRgbDataSize(qint64 width, qint64 height)
{
    return (width * 3 + 3) / 4 * 4 * height;
}

} // namespace imaging
