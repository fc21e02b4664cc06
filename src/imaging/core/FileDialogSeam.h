#pragma once

#include <functional>

#include <QString>

namespace imaging {

// The suite's open-file dialog. The core cannot show widgets, so the dialog
// is a function: the widgets library installs the real one, tests install a
// fake. It gets the file type list ("BMP;JPG;TIF;PCX;FPX;PNG") and returns the
// chosen path, or an empty string when the user cancelled.
using OpenFileDialog = std::function<QString(const QString &typeList)>;

// Installs a dialog and returns the one it replaced.
OpenFileDialog setOpenFileDialog(OpenFileDialog dialog);
// Shows the installed dialog; with none installed, nothing is chosen.
[[nodiscard]] QString showOpenFileDialog(const QString &typeList);

} // namespace imaging
