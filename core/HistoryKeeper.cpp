#include "core/HistoryKeeper.h"

#include "platform/Paths.h"

HistoryKeeper::HistoryKeeper(ProfileHistory history, std::string profileDir, std::string userFile,
                             std::string gameFile)
    : m_history(std::move(history))
    , m_profileDir(std::move(profileDir))
    , m_userName(platform::fileNamePart(userFile))
    , m_gameName(platform::fileNamePart(gameFile))
{
    m_known = current();
    const std::optional<ProfileState> left = m_history.lastKept();
    if (m_known && left && left->files[0].name == m_userName && *left != *m_known) {
        if (const ProfileHistory::Kept kept = m_history.keepOutside(QStringLiteral("Changed outside"), *left, *m_known);
            !kept)
            failed(kept.failure);
    }
}

void HistoryKeeper::onFailure(std::function<void(const QString&)> tell)
{
    m_tell = std::move(tell);
    if (!m_failure.isEmpty()) failed(m_failure);
}

std::optional<ProfileState> HistoryKeeper::current() const
{
    return ProfileState::read(m_profileDir, m_userName, m_gameName);
}

ProfilePair::Observer HistoryKeeper::observer()
{
    return {[this](const std::string& operation, const std::vector<ProfilePair::FileState>&) {
                noteOutside(); // what the files held, if the program did not know it, changed outside
                m_pending.clear();
                const std::optional<ProfileState> before = current();
                if (!before) return;
                const ProfileHistory::Kept kept = m_history.keepBefore(QString::fromStdString(operation), *before);
                if (!kept) return failed(kept.failure);
                m_pending = kept.id;
            },
            [this](const std::string&, const std::vector<ProfilePair::FileState>&) {
                m_known = current();
                if (m_pending.empty() || !m_known) return;
                if (const QString why = m_history.keepAfter(m_pending, *m_known); !why.isEmpty()) failed(why);
                m_pending.clear();
            }};
}

void HistoryKeeper::noteOutside()
{
    const std::optional<ProfileState> now = current();
    if (!now || !m_known || *now == *m_known) return;
    const ProfileHistory::Kept kept = m_history.keepOutside(QStringLiteral("Changed outside"), *m_known, *now);
    m_known = now;
    if (!kept) failed(kept.failure);
}

void HistoryKeeper::failed(const QString& why)
{
    m_failure = why;
    if (m_told || !m_tell) return;
    m_told = true;
    m_tell(QStringLiteral("The history of the profiles is off: ") + why);
}
