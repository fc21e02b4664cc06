#pragma once

// File-system situations for the read and write failure tests. Tests run
// as root, where permissions stop nothing, so these change the file-system
// user or mount small file systems; each reports whether it could.

#include <QString>
#include <QStringList>

#include "support/core/TmpfsMount.h"

namespace fixtures {

using testsupport::TmpfsMount;

// File permission checks of this thread as user "nobody" for the life of
// the object (Linux file-system uid), so root's override of permissions
// does not apply.
class AsUnprivilegedUser
{
public:
    AsUnprivilegedUser();
    ~AsUnprivilegedUser();
    AsUnprivilegedUser(const AsUnprivilegedUser &) = delete;
    AsUnprivilegedUser &operator=(const AsUnprivilegedUser &) = delete;

    bool active() const { return m_active; }

private:
    bool m_active = false;
};

[[nodiscard]] bool runningAsRoot();
// Every name in a folder, hidden ones included.
[[nodiscard]] QStringList folderListing(const QString &folder);
[[nodiscard]] bool writeBytes(const QString &path, const QByteArray &bytes);
// Writes a fixture file into folder (making the folders its name holds) and
// gives its path; a fixture that cannot be written ends the test.
QString fixtureFile(const QString &folder, const QString &name, const QByteArray &bytes);
[[nodiscard]] QByteArray readBytes(const QString &path);

} // namespace fixtures
