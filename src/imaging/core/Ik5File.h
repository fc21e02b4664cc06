#pragma once

#include <QObject>
#include <QString>

#include "imaging/core/ImageStore.h"
#include "imaging/core/ImageWriter.h" // FileOperation codes

namespace imaging {

// The suite's file control: reads an image file into a new image, or writes
// an image to a file. Members and their dispatch ids:
//   path / setPath [18]            file to read or write
//   operation / setOperation [11]  0 read; 8 BMP, 10 JPEG, 11 progressive
//                                  JPEG, 13 TIFF, 20 PNG write (FileOperation)
//   quality / setQuality [17]      JPEG quality 1..100, 75 until set
//   perform() [1]                  runs the operation
//   finishRead() [2]               ends a read; nothing is left to do
//   openDialog() [3]               the suite's open-file dialog
//   handle / setHandle [10]        image read, or image to write
//   imageWidth() [30], imageHeight() [31], fileSize() [34]
//                                  of the image and file last read
//   signal progress(int) [event 9] whole percentages 0..100
//
// A read puts a new image in the store and its handle in handle(); the caller
// owns it. The image handle() named before is not released: its owner does
// that. A failed read throws imaging::Error and leaves handle(), imageWidth(),
// imageHeight() and fileSize() at 0, so no handle names a half-read image.
// A write of handle 0 or of a released image throws Error(InvalidHandle); a
// failed write throws and leaves any old file at path untouched.
class Ik5File : public QObject
{
    Q_OBJECT

public:
    static constexpr int kDefaultQuality = 75;

    explicit Ik5File(QObject *parent = nullptr);

    QString path() const { return m_path; }                              // [18]
    void setPath(const QString &path) { m_path = path; }
    int operation() const { return m_operation; }                        // [11]
    void setOperation(int operation) { m_operation = operation; }
    int quality() const { return m_quality; }                            // [17]
    void setQuality(int quality) { m_quality = quality; }
    Handle handle() const { return m_handle; }                           // [10]
    void setHandle(Handle handle) { m_handle = handle; }
    QString typeList() const { return m_typeList; }
    void setTypeList(const QString &typeList) { m_typeList = typeList; }

    void perform();                                                      // [1]
    void finishRead() {}                                                 // [2]
    bool openDialog();                                                   // [3]

    int imageWidth() const { return m_imageWidth; }                      // [30]
    int imageHeight() const { return m_imageHeight; }                    // [31]
    qint64 fileSize() const { return m_fileSize; }                       // [34]

signals:
    void progress(int percent);                                          // event 9

private:
    void read();
    void write();

    QString m_path;
    int m_operation = 0;
    int m_quality = kDefaultQuality;
    Handle m_handle = 0;
    QString m_typeList = QStringLiteral("BMP;JPG;TIF;PCX;FPX;PNG");
    int m_imageWidth = 0;
    int m_imageHeight = 0;
    qint64 m_fileSize = 0;
};

} // namespace imaging
