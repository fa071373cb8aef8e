#include "core/OutsideChangeGuard.h"

#include "core/RunTime.h"
#include "platform/Processes.h"

#include <QFileInfo>

namespace {

constexpr const char* GameProgram = "UT2003.exe";
constexpr const char* NativeGameProgram = "ut2003-bin"; // the native Linux version

QString namesOf(const QStringList& files)
{
    QStringList names;
    for (const QString& file : files)
        names << QFileInfo(file).fileName();
    return names.join(QStringLiteral(" and "));
}

} // namespace

OutsideChangeGuard::OutsideChangeGuard(const RunTime& rt, std::function<bool()> gameRunning, QObject* parent)
    : QObject(parent)
    , m_rt(rt)
    , m_gameRunning(std::move(gameRunning))
{
    connect(&m_watch, &ProfileWatch::touched, this, &OutsideChangeGuard::touched);
}

void OutsideChangeGuard::remember() { m_watch.remember(m_rt.UserProfile.get(), m_rt.GameProfile.get()); }

bool OutsideChangeGuard::mayOverwrite(Questions& questions)
{
    const QStringList files = m_watch.changedOutside(m_rt.UserProfile.get(), m_rt.GameProfile.get());
    if (!files.isEmpty() && m_rt.History) m_rt.History->noteOutside();
    if (!files.isEmpty() &&
        !questions.confirm(namesOf(files) + QStringLiteral(" has been changed outside Corvane 2003 since it was "
                                                           "loaded.\nDo you want to save over it?")))
        return false;
    if (!m_gameWarned && gameRunning()) {
        m_gameWarned = true;
        questions.tell({Notice::Kind::Warning, QStringLiteral("UT2003 is running. When it exits, it writes its own "
                                                              "settings over what you save now.")});
    }
    return true;
}

bool OutsideChangeGuard::shouldReload(bool edited, Questions& questions, QString& notice)
{
    QStringList files = m_watch.changedOutside(m_rt.UserProfile.get(), m_rt.GameProfile.get());
    for (const QString& kept : m_watch.kept())
        files.removeAll(kept);
    if (files.isEmpty()) return false;
    if (m_rt.History) m_rt.History->noteOutside(); // what the game or another editor changed
    if (edited &&
        !questions.confirm(namesOf(files) + QStringLiteral(" has been changed outside Corvane 2003.\n"
                                                           "Do you want to reload it and lose your changes?"))) {
        m_watch.keepEditing(files);
        return false;
    }
    notice = namesOf(files) + QStringLiteral(" was changed outside Corvane 2003: the pages were reloaded");
    return true;
}

bool OutsideChangeGuard::gameRunning() const
{
    if (m_gameRunning) return m_gameRunning();
    return platform::isProgramRunning(GameProgram) || platform::isProgramRunning(NativeGameProgram);
}

QString OutsideChangeGuard::gameStatus() const
{
    return gameRunning() ? QStringLiteral("UT2003 is running: it will rewrite its files when it exits") : QString();
}
