#pragma once

#include <QString>
#include <QtGlobal>
#include <QStringList>

class QFileDialog;

namespace imaging {

// The suite's real open-file dialog, behind the seam of FileDialogSeam.h.

// The dialog's name filters for a type list such as "BMP;JPG;TIF;PCX;FPX;PNG":
// one filter with every extension of the listed types, then all files.
[[nodiscard]] QStringList openFileFilters(const QString &typeList);

// A file size as the dialog lists it: Kbyte of 1000 bytes, one decimal.
[[nodiscard]] QString kbyteText(qint64 bytes);

// Sets up a file dialog to choose one existing file of the listed types.
// Qt's own dialog is used everywhere: its filters ignore the case of names,
// so "IMG_0001.JPG" is listed as well as "photo.jpg". Its list shows every
// column whole and sizes in Kbyte. It starts in the folder of the last
// chosen file, before the first choice in the current folder.
void configureOpenFileDialog(QFileDialog &dialog, const QString &typeList);

// Installs the dialog as the suite's open-file dialog; the program calls this
// once at start-up.
void installRealOpenFileDialog();

} // namespace imaging
