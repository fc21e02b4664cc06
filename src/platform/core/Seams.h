#pragma once

#include <functional>
#include <optional>

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

class QWidget;

// What the program asks of its surroundings, each through one function that
// tests replace. Every setter returns the function it replaced; an empty
// function means the platform's own behaviour.
namespace platform {

// The folder that holds the program (our own: the executable's folder).
[[nodiscard]] QString programFolder();
using ProgramFolderFunction = std::function<QString()>;
ProgramFolderFunction setProgramFolder(ProgramFolderFunction folder);

// The current local date and time.
[[nodiscard]] QDateTime currentDateTime();
using ClockFunction = std::function<QDateTime()>;
ClockFunction setClock(ClockFunction clock);

// Starts another program without waiting for it; false when it could not start.
bool startProgram(const QString &program, const QStringList &arguments = QStringList());
using StartProgramFunction = std::function<bool(const QString &program, const QStringList &arguments)>;
StartProgramFunction setStartProgram(StartProgramFunction start);

// The system registry, read only.
enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };
// The stored type codes the program tells apart.
enum class RegistryType { String = 1, ExpandString = 2, Binary = 3, Dword = 4 };
struct RegistryValue
{
    RegistryType type;
    QByteArray data; // as stored: a string with its terminating zero, a dword in 4 little-endian bytes
};
// One named value of a key; nothing when the key or the value is missing
// (always, on a platform without a registry).
[[nodiscard]] std::optional<RegistryValue> readRegistryValue(RegistryRoot root, const QString &key, const QString &valueName);
using RegistryFunction = std::function<std::optional<RegistryValue>(RegistryRoot root, const QString &key, const QString &valueName)>;
RegistryFunction setRegistry(RegistryFunction registry);

// The system dialog that connects a network drive.
enum class NetworkDriveResult { Connected, Cancelled, NotAvailable };
// Shows it owned by `owner`. Where the platform has none, reports
// NotAvailable at once so the caller can explain.
NetworkDriveResult showNetworkDriveDialog(QWidget *owner);
using NetworkDriveFunction = std::function<NetworkDriveResult(QWidget *owner)>;
NetworkDriveFunction setNetworkDriveDialog(NetworkDriveFunction dialog);

} // namespace platform
