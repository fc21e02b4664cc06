#include "platform/core/Seams.h"

#include <utility>

#include <QCoreApplication>
#include <QProcess>

namespace platform {

namespace {

// The installed functions, each empty until a test installs one.
struct Installed
{
    ProgramFolderFunction programFolder;
    ClockFunction clock;
    StartProgramFunction startProgram;
    RegistryFunction registry;
    NetworkDriveFunction networkDrive;
};

Installed &installed()
{
    static Installed seams;
    return seams;
}

} // namespace

QString programFolder()
{
    const auto &folder = installed().programFolder;
    return folder ? folder() : QCoreApplication::applicationDirPath();
}

ProgramFolderFunction setProgramFolder(ProgramFolderFunction folder)
{
    return std::exchange(installed().programFolder, std::move(folder));
}

QDateTime currentDateTime()
{
    const auto &clock = installed().clock;
    return clock ? clock() : QDateTime::currentDateTime();
}

ClockFunction setClock(ClockFunction clock)
{
    return std::exchange(installed().clock, std::move(clock));
}

bool startProgram(const QString &program, const QStringList &arguments)
{
    const auto &start = installed().startProgram;
    return start ? start(program, arguments) : QProcess::startDetached(program, arguments);
}

StartProgramFunction setStartProgram(StartProgramFunction start)
{
    return std::exchange(installed().startProgram, std::move(start));
}

std::optional<RegistryValue> readRegistryValue(RegistryRoot root, const QString &key, const QString &valueName)
{
    const auto &registry = installed().registry;
    if (registry)
        return registry(root, key, valueName);
    return std::nullopt;
}

RegistryFunction setRegistry(RegistryFunction registry)
{
    return std::exchange(installed().registry, std::move(registry));
}

NetworkDriveResult showNetworkDriveDialog(QWidget *owner)
{
    const auto &dialog = installed().networkDrive;
    return dialog ? dialog(owner) : NetworkDriveResult::NotAvailable;
}

NetworkDriveFunction setNetworkDriveDialog(NetworkDriveFunction dialog)
{
    return std::exchange(installed().networkDrive, std::move(dialog));
}

} // namespace platform
