#include "adjust/AdjustCommon.h"

#include <algorithm>

#include "rules/TextRules.h"
#include "imaging/core/Ik5Common.h"
#include "imaging/widgets/Ik5Disp.h"
#include "viewer/frmviewer.h"

namespace adjust {

imaging::Handle workingImage()
{
    const frmviewer *viewer = mainWindowIfLoaded();
    return viewer && viewer->hasWorkingImage() ? viewer->Ik5Disp1->handle() : 0;
}

QString processingStatus()
{
    const frmviewer *viewer = mainWindowIfLoaded();
    return (viewer ? viewer->Text1->text() : QString()) + QStringLiteral("処理中");
}

bool applyToMainWindow(imaging::Handle image)
{
    frmviewer *viewer = mainWindowIfLoaded();
    if (!viewer || !imaging::ImageStore::instance().contains(image))
        return false;
    // Fit first: the new image is then prepared once, at the fitted size,
    // never at an unscaled zoom it will not be shown at.
    viewer->Ik5Disp1->setSizeMode(imaging::Ik5Disp::kFit);
    viewer->replaceWorkingImage(image);
    return true;
}

void hideAdjustmentsPanel()
{
    if (frmviewer *viewer = mainWindowIfLoaded())
        viewer->Frame4->hide();
}

void OwnedImages::add(imaging::Handle image)
{
    if (image != 0 && std::find(m_images.begin(), m_images.end(), image) == m_images.end())
        m_images.push_back(image);
}

void OwnedImages::releaseAllBut(std::initializer_list<imaging::Handle> keep)
{
    const auto kept = [&keep](imaging::Handle image) {
        return std::find(keep.begin(), keep.end(), image) != keep.end();
    };
    const auto unused = std::stable_partition(m_images.begin(), m_images.end(), kept);
    for (auto it = unused; it != m_images.end(); ++it) {
        m_releaser->setHandle(*it);
        m_releaser->release();
    }
    m_images.erase(unused, m_images.end());
}

qint32 enteredAngle(QStringView text, bool clockwise)
{
    // Negated before rounding: halves go to even either way, and the most
    // negative 32-bit value is never negated out of range.
    const double hundredths = textrules::leadingNumber(text) * 100.0;
    return textrules::toInt32(clockwise ? hundredths : -hundredths);
}

std::optional<qint16> saturationBarValue(QStringView text)
{
    const double level = textrules::leadingNumber(text);
    if (!(level >= kMinSaturation && level <= kMaxSaturation))
        return std::nullopt;
    return textrules::toInt16(level);
}

} // namespace adjust
