#include "support/FormTesting.h"

#include "platform/Forms.h"

namespace testsupport {

void unloadAllForms()
{
    forms::unloadAll();
    forms::destroyUnloaded();
}

} // namespace testsupport
