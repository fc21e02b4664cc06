#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <QtTest>

#include "base/Error.h"
#include "imaging/core/ImageStore.h"
#include "support/core/TestImages.h"

// Small images with known pixels, and checks shared by the effect tests.
namespace testimages {

using testsupport::numbered;
using testsupport::pixelsOf;
using testsupport::solid;

// One row of given pixels.
inline QImage row(const QList<QRgb> &pixels)
{
    QImage image(static_cast<int>(pixels.size()), 1, QImage::Format_RGB32);
    for (int x = 0; x < pixels.size(); ++x)
        image.setPixel(x, 0, pixels[x]);
    return image;
}

inline imaging::Handle add(const QImage &pixels, double dpiX = 96.0, double dpiY = 96.0)
{
    return testsupport::addImage(pixels, dpiX, dpiY);
}

// Runs `call` and returns the kind of imaging::Error it threw; fails the
// test when it throws nothing.
template<typename Call>
imaging::Error::Kind errorKindOf(const Call &call)
{
    try {
        call();
    } catch (const imaging::Error &error) {
        return error.kind();
    }
    QTest::qFail("expected an imaging::Error", __FILE__, __LINE__);
    return imaging::Error::Kind::Unsupported;
}

// Percentages a progress callback or signal must deliver: starting at 0,
// rising strictly, ending at 100 (so at most 101 calls).
inline bool isWholeProgress(const QList<int> &percents, QString *why)
{
    if (percents.isEmpty() || percents.front() != 0 || percents.back() != 100) {
        *why = QStringLiteral("must run from 0 to 100");
        return false;
    }
    for (qsizetype i = 1; i < percents.size(); ++i) {
        if (percents[i] <= percents[i - 1]) {
            *why = QStringLiteral("not rising at call %1").arg(i);
            return false;
        }
    }
    return true;
}

} // namespace testimages
