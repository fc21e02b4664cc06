#include "support/core/TmpfsMount.h"

#include <sys/mount.h>

#include <QFile>

namespace testsupport {

TmpfsMount::TmpfsMount(const QString &folder, const QString &options)
    : m_folder(folder)
{
    m_mounted = ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0,
                        options.toLocal8Bit().constData()) == 0;
}

TmpfsMount::~TmpfsMount()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
}

bool TmpfsMount::remountReadOnly()
{
    return m_mounted
        && ::mount(nullptr, QFile::encodeName(m_folder).constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

} // namespace testsupport
