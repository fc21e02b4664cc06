#pragma once

#include <typeindex>
#include <typeinfo>

#include <QWidget>

class QEventLoop;

namespace platform {
class Form;
}

// Every window is a single instance reached by its class from anywhere:
// forms::get<frmviewer>() loads it when it is not loaded, forms::unload<T>()
// ends it, and the next get builds it afresh from its design.
namespace forms {

// Runs the form's Form_Unload and ends it at once for isLoaded and get: its
// handlers stop running, its timers stop and it is hidden. The object itself
// is destroyed later, from the event loop, once no handler, modal window or
// yield of ours is running: a handler may unload its own form and keep using
// its members until it returns, even across a modal window or a yield.
// Unloading a form that is unloading or unloaded does nothing.
void unload(platform::Form *form);

// Unloads every loaded form, the newest first (program end, test clean-up).
void unloadAll();

// Destroys the unloaded forms now. Only where no handler of theirs can be
// running: after the event loop has ended, or in a test's clean-up.
void destroyUnloaded();

namespace detail {
[[nodiscard]] platform::Form *find(std::type_index type);
// Registers a newly built form and runs its Form_Load.
void load(std::type_index type, platform::Form *form);

// Marks code of ours under which a form's handler may be on the stack: a
// handler, a modal window's loop, a yield. Unloaded forms wait for the last
// one to end.
class ActiveScope
{
public:
    ActiveScope();
    ~ActiveScope();
    ActiveScope(const ActiveScope &) = delete;
    ActiveScope &operator=(const ActiveScope &) = delete;
};
} // namespace detail

// The loaded instance of T; when there is none, T is built in its design
// state and its Form_Load runs before get returns. If Form_Load throws, the
// form is discarded (it stays unloaded) and the error reaches the caller.
template <typename T>
T *get()
{
    if (platform::Form *form = detail::find(typeid(T)))
        return static_cast<T *>(form);
    auto *form = new T();
    detail::load(typeid(T), form);
    return form;
}

template <typename T>
[[nodiscard]] bool isLoaded()
{
    return detail::find(typeid(T)) != nullptr;
}

template <typename T>
void unload()
{
    unload(detail::find(typeid(T)));
}

} // namespace forms

namespace platform {

// The base of every window. A form is built only by forms::get: its
// constructor gives it its design state (controls, captions, places, and
// the wiring of its handlers); Form_Load then runs once, and Form_Unload
// once when it is unloaded. Closing it with the title bar unloads it.
class Form : public QWidget
{
    Q_OBJECT

public:
    explicit Form(QWidget *parent = nullptr);
    ~Form() override;

    virtual void Form_Load() {}
    virtual void Form_Unload() {}

    // Shows the form and returns at once. An unloaded form stays hidden.
    void Show();
    // Shows the form application-modal and returns once it is hidden or
    // unloaded. It may be unloaded by then: callers that need the window
    // again reach it through forms::get.
    void ShowModal();
    void Hide();

    // True once forms::unload has ended this form; its handlers no longer run.
    [[nodiscard]] bool isUnloaded() const { return m_unloaded; }

    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    // Tab and Shift+Tab move only between controls the user can see: a
    // control that lies outside the window's client area (the main window's
    // thumbnail strip while the window is short) is passed over.
    bool focusNextPrevChild(bool next) override;

private:
    friend void forms::unload(Form *form);
    friend void forms::detail::load(std::type_index type, Form *form);

    // The end of an unload: handlers and timers stop, the window hides, and
    // the object waits to be destroyed.
    void discard();

    bool m_unloading = false;
    bool m_unloaded = false;
    QEventLoop *m_modalLoop = nullptr;
};

} // namespace platform
