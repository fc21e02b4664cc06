#include "platform/Guard.h"

#include <exception>

#include <QCoreApplication>
#include <QScopedValueRollback>
#include <QString>
#include <QWidget>

#include "platform/Forms.h"
#include "platform/MessageBox.h"

namespace platform {

namespace {

int yieldDepth = 0;
const QObject *runningOwner = nullptr;

void reportFailure(const QString &description)
{
    const QString text = description.isEmpty() ? QStringLiteral("予期しないエラーが発生しました。") : description;
    messageBox(text, msgbox::OkOnly | msgbox::Critical);
}

} // namespace

void runHandler(const QObject *owner, WhileBusy whileBusy, const std::function<void()> &handler)
{
    if (const auto *form = qobject_cast<const Form *>(owner); form && form->isUnloaded())
        return;
    if (isBusy() && whileBusy == WhileBusy::Ignored)
        return;
    const QScopedValueRollback freshScope(yieldDepth, 0);
    const QScopedValueRollback innermost(runningOwner, owner);
    const forms::detail::ActiveScope running;
    try {
        handler();
    } catch (const std::exception &error) {
        reportFailure(QString::fromUtf8(error.what()));
    } catch (...) {
        reportFailure(QString());
    }
}

void yieldToEventLoop()
{
    const QScopedValueRollback busy(yieldDepth, yieldDepth + 1);
    const forms::detail::ActiveScope yielding;
    QCoreApplication::processEvents();
}

bool isBusy()
{
    return yieldDepth > 0;
}

QWidget *handlerWindow()
{
    const auto *widget = qobject_cast<const QWidget *>(runningOwner);
    return widget ? widget->window() : nullptr;
}

} // namespace platform
