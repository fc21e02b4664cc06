#include "platform/Forms.h"

#include <algorithm>
#include <utility>
#include <vector>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QScopeGuard>

#include "platform/Controls.h"
#include "platform/Guard.h"

namespace {

struct LoadedForm
{
    std::type_index type;
    platform::Form *form;
};

// The loaded forms in load order.
std::vector<LoadedForm> &loadedForms()
{
    static std::vector<LoadedForm> list;
    return list;
}

void forget(const platform::Form *form)
{
    std::erase_if(loadedForms(), [form](const LoadedForm &entry) { return entry.form == form; });
}

// Unloaded forms waiting to be destroyed, and how many active scopes hold them.
std::vector<QPointer<platform::Form>> unloadedForms;
int activeScopes = 0;

// Destroys the waiting forms from the event loop, once no scope is active;
// the last scope to end asks again.
void scheduleDestruction()
{
    if (QCoreApplication *app = QCoreApplication::instance()) {
        QMetaObject::invokeMethod(
            app,
            [] {
                if (activeScopes == 0)
                    forms::destroyUnloaded();
            },
            Qt::QueuedConnection);
    }
}

} // namespace

namespace forms {

void unload(platform::Form *form)
{
    if (!form || form->m_unloading || form->m_unloaded)
        return;
    form->m_unloading = true;
    // Even a Form_Unload that throws leaves the form fully unloaded.
    const auto finish = qScopeGuard([form] {
        forget(form);
        form->discard();
    });
    form->Form_Unload();
}

void unloadAll()
{
    // A Form_Unload may unload other forms or run this again: work on a copy.
    std::vector<QPointer<platform::Form>> newestFirst;
    for (const LoadedForm &entry : loadedForms())
        newestFirst.emplace_back(entry.form);
    std::reverse(newestFirst.begin(), newestFirst.end());
    for (const QPointer<platform::Form> &form : newestFirst)
        unload(form.data());
}

void destroyUnloaded()
{
    for (const QPointer<platform::Form> &form : std::exchange(unloadedForms, {}))
        delete form.data();
}

namespace detail {

ActiveScope::ActiveScope()
{
    ++activeScopes;
}

ActiveScope::~ActiveScope()
{
    if (--activeScopes == 0 && !unloadedForms.empty())
        scheduleDestruction();
}

platform::Form *find(std::type_index type)
{
    const auto &list = loadedForms();
    const auto it = std::find_if(list.begin(), list.end(), [type](const LoadedForm &entry) { return entry.type == type; });
    return it == list.end() ? nullptr : it->form;
}

void load(std::type_index type, platform::Form *form)
{
    // Registered first, so that code run by Form_Load reaches this instance.
    loadedForms().push_back({type, form});
    try {
        form->Form_Load();
    } catch (...) {
        forget(form);
        form->discard();
        throw;
    }
}

} // namespace detail
} // namespace forms

namespace platform {

Form::Form(QWidget *parent)
    : QWidget(parent)
{
}

Form::~Form()
{
    // Normally gone from the list at unload; this covers a form destroyed otherwise.
    forget(this);
    if (m_modalLoop)
        m_modalLoop->quit();
}

void Form::Show()
{
    if (m_unloaded)
        return;
    // A window that appears comes to the front by itself; one already shown is brought there.
    const bool wasVisible = isVisible();
    show();
    if (wasVisible) {
        raise();
        activateWindow();
    }
}

void Form::ShowModal()
{
    if (m_unloaded || m_modalLoop)
        return;
    // Modality is taken only when a window is shown.
    hide();
    setWindowModality(Qt::ApplicationModal);
    Show();

    QPointer<Form> self(this);
    const forms::detail::ActiveScope modal;
    QEventLoop loop;
    m_modalLoop = &loop;
    loop.exec();
    if (!self) // destroyed with its parent
        return;
    m_modalLoop = nullptr;
    setWindowModality(Qt::NonModal);
}

void Form::Hide()
{
    hide();
}

void Form::setVisible(bool visible)
{
    QWidget::setVisible(visible);
    if (!visible && m_modalLoop)
        m_modalLoop->quit();
}

void Form::closeEvent(QCloseEvent *event)
{
    // Through the guard: a failing Form_Unload is reported, and a window is
    // not closed under a long operation that is yielding to the event loop.
    runHandler(this, WhileBusy::Ignored, [this] { forms::unload(this); });
    event->setAccepted(m_unloaded);
}

namespace {

// Whether Tab may move to a control: it takes Tab focus, can be used, and
// some of it lies inside the window's client area.
bool reachableByTab(const QWidget *window, const QWidget *control)
{
    if (control == window || !(control->focusPolicy() & Qt::TabFocus) || !control->isEnabled()
        || !control->isVisibleTo(window) || control->window() != window)
        return false;
    const QRect inWindow(control->mapTo(window, QPoint(0, 0)), control->size());
    return inWindow.intersects(window->rect());
}

} // namespace

bool Form::focusNextPrevChild(bool next)
{
    QWidget *start = focusWidget() ? focusWidget() : this;
    QWidget *candidate = start;
    do {
        candidate = next ? candidate->nextInFocusChain() : candidate->previousInFocusChain();
        if (reachableByTab(this, candidate)) {
            candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    } while (candidate != start);
    return false;
}

void Form::discard()
{
    m_unloaded = true;
    for (Timer *timer : findChildren<Timer *>())
        timer->setEnabled(false);
    hide();
    unloadedForms.emplace_back(this);
    scheduleDestruction();
}

} // namespace platform
