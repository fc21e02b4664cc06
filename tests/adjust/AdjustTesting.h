#pragma once

// Fixtures shared by the adjustment dialogs' tests: small images with known
// pixels, the main window showing one, and watchers of effect calls.

#include <optional>

#include <QImage>
#include <QObject>
#include <QString>
#include <QtTest>

#include "app/Form2.h"
#include "imaging/core/Ik5Effect.h"
#include "imaging/core/ImageStore.h"
#include "platform/Forms.h"
#include "support/FormTesting.h"
#include "support/core/TestImages.h"
#include "support/ScriptedMessageBoxes.h"
#include "viewer/frmviewer.h"

namespace adjusttest {

inline const QString kFileName = QStringLiteral("夏 1.jpg");

using testsupport::addImage;
using testsupport::imageCount;
using testsupport::numbered;
using testsupport::pixelsOf;

// One row of the given colours.
inline QImage swatch(std::initializer_list<QRgb> colours)
{
    QImage image(static_cast<int>(colours.size()), 1, QImage::Format_RGB32);
    int x = 0;
    for (const QRgb colour : colours)
        image.setPixel(x++, 0, colour);
    return image;
}

// The main window shown, with a file name and the image as working image.
inline frmviewer *viewerShowing(const QImage &pixels)
{
    auto *viewer = forms::get<frmviewer>();
    viewer->Show();
    viewer->Text1->setText(kFileName);
    viewer->replaceWorkingImage(addImage(pixels));
    return viewer;
}

// Another window replacing the working image: the old one is released.
inline void replacedElsewhere(frmviewer *viewer, const QImage &pixels)
{
    viewer->replaceWorkingImage(addImage(pixels));
}

// Counts the calls an effect control makes (each reports 0 % first) and
// records the progress dialog's status line while each runs.
class EffectWatch
{
public:
    explicit EffectWatch(imaging::Ik5Effect *effect)
    {
        m_connection = QObject::connect(effect, &imaging::Ik5Effect::progress, [this](int percent) {
            if (percent != 0)
                return;
            ++m_calls;
            m_statuses << (forms::isLoaded<Form2>() ? forms::get<Form2>()->Label3->text() : QString());
        });
    }
    ~EffectWatch() { QObject::disconnect(m_connection); }
    EffectWatch(const EffectWatch &) = delete;
    EffectWatch &operator=(const EffectWatch &) = delete;

    [[nodiscard]] int calls() const { return m_calls; }
    // Status line per call; empty where no progress dialog was up.
    [[nodiscard]] const QStringList &statuses() const { return m_statuses; }

private:
    QMetaObject::Connection m_connection;
    int m_calls = 0;
    QStringList m_statuses;
};

// What every test of a dialog starts and ends with: message boxes scripted
// (an unexpected one fails the test), and no image left behind.
class DialogTestBase : public QObject
{
protected:
    std::optional<testsupport::ScriptedMessageBoxes> m_boxes;
    std::size_t m_imagesBefore = 0;

    void startTest()
    {
        m_imagesBefore = imageCount();
        m_boxes.emplace();
    }

    void endTest()
    {
        if (forms::isLoaded<frmviewer>()) {
            frmviewer *viewer = forms::get<frmviewer>();
            viewer->Ik5Common1->setHandle(viewer->Ik5Disp1->handle());
            viewer->Ik5Common1->release();
        }
        testsupport::unloadAllForms();
        m_boxes.reset();
        QCOMPARE(imageCount(), m_imagesBefore);
    }
};

} // namespace adjusttest
