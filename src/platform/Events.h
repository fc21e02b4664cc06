#pragma once

#include <functional>
#include <tuple>
#include <type_traits>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "platform/Controls.h"
#include "platform/Guard.h"

// Connecting control events to a window's handlers. Every handler goes
// through the guard (runHandler), and each control gets the event rules the
// windows rely on. A handler is a member function of the owner, or any
// callable (for control arrays: [this, i] { Option6_Click(i); }); it may take
// the leading arguments of the signal or none.
namespace platform {

namespace detail {

template <typename F>
struct HandlerArgs : HandlerArgs<decltype(&F::operator())>
{
};
template <typename C, typename R, typename... A>
struct HandlerArgs<R (C::*)(A...)>
{
    using Tuple = std::tuple<A...>;
};
template <typename C, typename R, typename... A>
struct HandlerArgs<R (C::*)(A...) const>
{
    using Tuple = std::tuple<A...>;
};

template <typename Owner, typename Handler, typename... A>
auto guarded(Owner *owner, Handler handler, WhileBusy whileBusy, std::tuple<A...> *)
{
    return [owner, handler, whileBusy](A... args) {
        runHandler(owner, whileBusy, [&] {
            if constexpr (std::is_member_function_pointer_v<Handler>)
                std::invoke(handler, owner, args...);
            else
                std::invoke(handler, args...);
        });
    };
}

// The handler wrapped in the guard, taking exactly the handler's arguments.
template <typename Owner, typename Handler>
auto guarded(Owner *owner, Handler handler, WhileBusy whileBusy)
{
    return guarded(owner, handler, whileBusy, static_cast<typename HandlerArgs<Handler>::Tuple *>(nullptr));
}

} // namespace detail

// Any signal to a handler of owner (suite controls, forms' own signals).
template <typename Sender, typename Signal, typename Owner, typename Handler>
QMetaObject::Connection on(const Sender *sender, Signal signal, Owner *owner, Handler handler,
                           WhileBusy whileBusy = WhileBusy::Ignored)
{
    return QObject::connect(sender, signal, owner, detail::guarded(owner, handler, whileBusy));
}

// Command button: Click on a completed click.
template <typename Owner, typename Handler>
QMetaObject::Connection onClick(QPushButton *button, Owner *owner, Handler handler,
                                WhileBusy whileBusy = WhileBusy::Ignored)
{
    return on(button, &QPushButton::clicked, owner, handler, whileBusy);
}

// Picture button: Click on a completed click while it is enabled.
template <typename Owner, typename Handler>
QMetaObject::Connection onClick(PictureButton *button, Owner *owner, Handler handler,
                                WhileBusy whileBusy = WhileBusy::Ignored)
{
    return on(button, &PictureButton::clicked, owner, handler, whileBusy);
}

// Option button: Click when it becomes selected, by the user or from code;
// selecting the selected one again, or its losing the selection, runs nothing.
template <typename Owner, typename Handler>
QMetaObject::Connection onClick(QRadioButton *option, Owner *owner, Handler handler,
                                WhileBusy whileBusy = WhileBusy::Ignored)
{
    return QObject::connect(option, &QRadioButton::toggled, owner,
                            [click = detail::guarded(owner, handler, whileBusy)](bool selected) {
                                if (selected)
                                    click();
                            });
}

// Check box: Click whenever its state changes, by the user or from code.
template <typename Owner, typename Handler>
QMetaObject::Connection onClick(QCheckBox *checkBox, Owner *owner, Handler handler,
                                WhileBusy whileBusy = WhileBusy::Ignored)
{
    return on(checkBox, &QCheckBox::stateChanged, owner, handler, whileBusy);
}

// Scroll bar: Change once a change is complete (an arrow or page click, the
// end of a drag) and on every different value set from code; not while the
// thumb is dragged. During a drag value() keeps the old value; a Scroll
// handler reads the thumb from sliderPosition() or its argument.
template <typename Owner, typename Handler>
QMetaObject::Connection onChange(QScrollBar *scrollBar, Owner *owner, Handler handler,
                                 WhileBusy whileBusy = WhileBusy::Ignored)
{
    scrollBar->setTracking(false);
    return on(scrollBar, &QScrollBar::valueChanged, owner, handler, whileBusy);
}

// Scroll bar: Scroll on every move of the thumb while it is dragged.
template <typename Owner, typename Handler>
QMetaObject::Connection onScroll(QScrollBar *scrollBar, Owner *owner, Handler handler,
                                 WhileBusy whileBusy = WhileBusy::Ignored)
{
    return on(scrollBar, &QScrollBar::sliderMoved, owner, handler, whileBusy);
}

// Text box: Change on every edit and whenever code sets a different text.
template <typename Owner, typename Handler>
QMetaObject::Connection onChange(QLineEdit *textBox, Owner *owner, Handler handler,
                                 WhileBusy whileBusy = WhileBusy::Ignored)
{
    return on(textBox, &QLineEdit::textChanged, owner, handler, whileBusy);
}

// Timer: Timer on every tick.
template <typename Owner, typename Handler>
QMetaObject::Connection onTimer(Timer *timer, Owner *owner, Handler handler,
                                WhileBusy whileBusy = WhileBusy::Ignored)
{
    return on(timer, &Timer::timeout, owner, handler, whileBusy);
}

} // namespace platform
