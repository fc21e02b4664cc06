#pragma once

#include <QString>

namespace testsupport {

// A tmpfs mounted on an existing folder for the life of the object (a small
// disk to fill, a file system to make read-only). Needs the right to mount:
// tests skip when mounted() is false.
class TmpfsMount
{
public:
    TmpfsMount(const QString &folder, const QString &options);
    ~TmpfsMount();
    TmpfsMount(const TmpfsMount &) = delete;
    TmpfsMount &operator=(const TmpfsMount &) = delete;

    [[nodiscard]] bool mounted() const { return m_mounted; }
    bool remountReadOnly();

private:
    QString m_folder;
    bool m_mounted = false;
};

} // namespace testsupport
