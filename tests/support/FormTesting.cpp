#include "support/FormTesting.h"

#include <QCoreApplication>
#include <QEvent>

#include "platform/Forms.h"

namespace testsupport {

void unloadAllForms()
{
    forms::unloadAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace testsupport
