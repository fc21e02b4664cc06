#pragma once

#include <map>
#include <tuple>
#include <utility>

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include "platform/core/Seams.h"

// Stand-ins for the platform seams. Each is installed while it lives and
// puts back whatever was installed before it.
namespace testsupport {

// Installs a seam function and restores the previous one at the end of the scope.
template <typename Function, Function (*Install)(Function)>
class SeamOverride
{
public:
    explicit SeamOverride(Function function)
        : m_previous(Install(std::move(function)))
    {
    }
    ~SeamOverride() { Install(std::move(m_previous)); }
    SeamOverride(const SeamOverride &) = delete;
    SeamOverride &operator=(const SeamOverride &) = delete;

private:
    Function m_previous;
};

class ProgramFolderOverride
{
public:
    explicit ProgramFolderOverride(const QString &folder);

private:
    SeamOverride<platform::ProgramFolderFunction, &platform::setProgramFolder> m_seam;
};

// A clock that stands still until told otherwise.
class ClockOverride
{
public:
    explicit ClockOverride(const QDateTime &now);
    void setNow(const QDateTime &now) { m_now = now; }
    void advance(qint64 milliseconds) { m_now = m_now.addMSecs(milliseconds); }

private:
    QDateTime m_now;
    SeamOverride<platform::ClockFunction, &platform::setClock> m_seam;
};

// Records the programs asked to start, starting none.
class StartProgramRecorder
{
public:
    struct Request
    {
        QString program;
        QStringList arguments;
    };

    // succeeds: what every start reports.
    explicit StartProgramRecorder(bool succeeds = true);
    [[nodiscard]] const QList<Request> &requests() const { return m_requests; }

private:
    bool m_succeeds;
    QList<Request> m_requests;
    SeamOverride<platform::StartProgramFunction, &platform::setStartProgram> m_seam;
};

// A registry holding only the values a test puts in it.
class RegistryOverride
{
public:
    RegistryOverride();
    void setValue(platform::RegistryRoot root, const QString &key, const QString &valueName, const platform::RegistryValue &value);
    void setString(platform::RegistryRoot root, const QString &key, const QString &valueName, const QString &text);

private:
    using Address = std::tuple<platform::RegistryRoot, QString, QString>;
    std::map<Address, platform::RegistryValue> m_values;
    SeamOverride<platform::RegistryFunction, &platform::setRegistry> m_seam;
};

// A network-drive dialog that answers at once, counting how often it was shown.
class NetworkDriveOverride
{
public:
    explicit NetworkDriveOverride(platform::NetworkDriveResult result);
    [[nodiscard]] int requests() const { return m_requests; }

private:
    platform::NetworkDriveResult m_result;
    int m_requests = 0;
    SeamOverride<platform::NetworkDriveFunction, &platform::setNetworkDriveDialog> m_seam;
};

} // namespace testsupport
