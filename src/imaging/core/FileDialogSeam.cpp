#include "imaging/core/FileDialogSeam.h"

namespace imaging {

namespace {
OpenFileDialog &installed()
{
    static OpenFileDialog dialog;
    return dialog;
}
} // namespace

OpenFileDialog setOpenFileDialog(OpenFileDialog dialog)
{
    return std::exchange(installed(), std::move(dialog));
}

QString showOpenFileDialog(const QString &typeList)
{
    return installed() ? installed()(typeList) : QString();
}

} // namespace imaging
