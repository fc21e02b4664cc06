#pragma once

#include <QString>
#include <QStringList>

class QFileDialog;

namespace imaging {

// The suite's real open-file dialog, behind the seam of FileDialogSeam.h.

// The dialog's name filters for a type list such as "BMP;JPG;TIF;PCX;FPX;PNG":
// one filter with every extension of the listed types, then all files.
[[nodiscard]] QStringList openFileFilters(const QString &typeList);

// Sets up a file dialog to choose one existing file of the listed types.
// Qt's own dialog is used everywhere: its filters ignore the case of names,
// so "IMG_0001.JPG" is listed as well as "photo.jpg".
void configureOpenFileDialog(QFileDialog &dialog, const QString &typeList);

// Installs the dialog as the suite's open-file dialog; the program calls this
// once at start-up. The dialog starts in the folder of the last chosen file.
void installRealOpenFileDialog();

} // namespace imaging
