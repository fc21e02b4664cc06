#include "imaging/core/Ik5File.h"

#include "imaging/core/FileDialogSeam.h"
#include "imaging/core/ImageReader.h"
#include "imaging/core/ImageWriter.h"
#include "imaging/core/SafeFile.h"

namespace imaging {

Ik5File::Ik5File(QObject *parent)
    : QObject(parent)
{
}

void Ik5File::perform()
{
    assertGuiThread();
    if (m_operation == ReadFile)
        read();
    else
        write();
}

bool Ik5File::openDialog()
{
    const QString chosen = showOpenFileDialog(m_typeList);
    if (chosen.isEmpty())
        return false;
    m_path = chosen;
    return true;
}

void Ik5File::read()
{
    m_handle = 0;
    m_imageWidth = m_imageHeight = 0;
    m_fileSize = 0;
    const QByteArray data = readRegularFile(m_path);
    Image image = decodeImage(data, [this](int percent) { emit progress(percent); });
    m_imageWidth = image.pixels.width();
    m_imageHeight = image.pixels.height();
    m_fileSize = data.size();
    m_handle = ImageStore::instance().add(std::move(image));
}

void Ik5File::write()
{
    // A copy (the pixels are shared, not duplicated): progress yields to the
    // event loop, and nothing done there may pull the image from under us.
    const Image image = ImageStore::instance().get(m_handle);
    writeImageFile(m_path, image, m_operation, m_quality, [this](int percent) { emit progress(percent); });
}

} // namespace imaging
