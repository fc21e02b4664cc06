#pragma once

#include <QString>
#include <QtGlobal>

// The program's start-up and the few values every window shares.

// The folder that holds the program, always ending in a separator. The tool
// button bitmaps and the error log are found there.
inline QString AppPath;
// 1 once the user pressed the progress dialog's stop button; the dialog sets
// 0 when it opens. Only the batch runs look at it.
inline qint16 CancelFlag = 0;
// The folder the slideshow plays.
inline QString SlideFolder;
// The file type chosen in the batch resize window.
inline QString TargetType;
// True when a batch works on the folder search's result list.
inline bool FolderMode = false;
// Run state of the thumbnail contact sheet.
inline qint16 ThumbTotal = 0;
inline qint16 ThumbPage = 0;
inline qint16 ThumbSlot = 0;
inline qint16 ThumbPrinted = 0;

namespace Module1 {

// The version is the project's, set once in the top CMakeLists.txt.
inline constexpr int kVersionMajor = MORVELL_VERSION_MAJOR;
inline constexpr int kVersionMinor = MORVELL_VERSION_MINOR;
inline constexpr int kVersionRevision = MORVELL_VERSION_PATCH;

// "1.2.4": major, minor and revision in plain decimal joined by points.
[[nodiscard]] QString versionText();

// The program folder as AppPath keeps it: exactly one separator at the end.
[[nodiscard]] QString appPathFrom(const QString &programFolder);

// Start-up: sets AppPath, loads the main window hidden, shows the splash,
// which hands over to the main window 2000 ms later. Returns to the caller's
// event loop at once.
void Main();

// Ends the program at once: every window is unloaded and the event loop
// told to stop, so no further handler runs.
void endProgram();

// Back to the state of a program that has just started (for tests).
void resetApplicationState();

} // namespace Module1
