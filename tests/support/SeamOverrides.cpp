#include "support/SeamOverrides.h"

namespace testsupport {

ProgramFolderOverride::ProgramFolderOverride(const QString &folder)
    : m_seam([folder] { return folder; })
{
}

ClockOverride::ClockOverride(const QDateTime &now)
    : m_now(now)
    , m_seam([this] { return m_now; })
{
}

StartProgramRecorder::StartProgramRecorder(bool succeeds)
    : m_succeeds(succeeds)
    , m_seam([this](const QString &program, const QStringList &arguments) {
        m_requests.append({program, arguments});
        return m_succeeds;
    })
{
}

RegistryOverride::RegistryOverride()
    : m_seam([this](platform::RegistryRoot root, const QString &key, const QString &valueName)
                 -> std::optional<platform::RegistryValue> {
        const auto it = m_values.find({root, key, valueName});
        if (it == m_values.end())
            return std::nullopt;
        return it->second;
    })
{
}

void RegistryOverride::setValue(platform::RegistryRoot root, const QString &key, const QString &valueName,
                                const platform::RegistryValue &value)
{
    m_values.insert_or_assign({root, key, valueName}, value);
}

void RegistryOverride::setString(platform::RegistryRoot root, const QString &key, const QString &valueName, const QString &text)
{
    // Stored as the registry stores a string: its bytes and a terminating zero.
    QByteArray data = text.toLocal8Bit();
    data.append('\0');
    setValue(root, key, valueName, {platform::RegistryType::String, data});
}

NetworkDriveOverride::NetworkDriveOverride(platform::NetworkDriveResult result)
    : m_result(result)
    , m_seam([this](QWidget *) {
        ++m_requests;
        return m_result;
    })
{
}

} // namespace testsupport
