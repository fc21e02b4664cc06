#pragma once

#include <functional>

class QObject;
class QWidget;

namespace platform {

// Whether a handler may run while a long operation yields to the event loop.
// Only a few may (the progress dialog's stop button); every other click that
// arrives then would start a second operation inside the first.
enum class WhileBusy { Ignored, Allowed };

// Runs one event handler of `owner` the way every handler runs:
// - not at all when owner is a form that has been unloaded;
// - not at all while busy, unless allowed;
// - anything it throws is shown in a message box with its description and
//   the program carries on.
// A handler that runs starts a fresh scope: what it does or shows is not
// "during the yield", even when it was delivered by one.
void runHandler(const QObject *owner, WhileBusy whileBusy, const std::function<void()> &handler);

// Delivers the events that are waiting (a click on a stop button, repaints)
// once, then returns. Called by long operations between their steps.
void yieldToEventLoop();

// True while a long operation is yielding to the event loop.
[[nodiscard]] bool isBusy();

// The window of the innermost handler running now (the owner's window when
// the owner is a widget); nullptr outside every handler. Message boxes open
// over it.
[[nodiscard]] QWidget *handlerWindow();

} // namespace platform
