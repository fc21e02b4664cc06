#pragma once

namespace testsupport {

// Unloads every form and destroys the unloaded ones now, so that the next
// test starts with no window loaded and nothing is left for the leak check.
// Call it from a test's cleanup(), outside any handler.
void unloadAllForms();

} // namespace testsupport
