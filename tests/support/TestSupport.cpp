#include "tests/support/TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace TestSupport {

namespace {
// Each test program keeps the program's state (the journal of the profile
// pair, the history) in a directory of its own, never the user's: test
// programs run side by side and must not finish each other's operations.
struct OwnStateHome {
    QTemporaryDir dir;
    OwnStateHome() { qputenv("XDG_STATE_HOME", dir.path().toLocal8Bit()); }
};
const OwnStateHome ownStateHome;
} // namespace

QString sourceDir() { return QStringLiteral(CORVANE_SOURCE_DIR); }
QString demoGameDir() { return sourceDir() + "/data/demo-game"; }
QString corpusDir() { return QStringLiteral(CORVANE_CORPUS_DIR); }

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write " + path.toStdString());
    f.write(bytes);
}

QMap<QString, QByteArray> filesBelow(const QString& dir)
{
    QMap<QString, QByteArray> files;
    for (QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
        files[it.next()] = readFile(it.filePath());
    return files;
}

namespace {
void copyTree(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        const QString target = to + "/" + QDir(from).relativeFilePath(info.filePath());
        if (info.isDir()) {
            QDir().mkpath(target);
        } else {
            QFile::copy(info.filePath(), target);
            QFile::setPermissions(target, info.permissions() | QFileDevice::WriteOwner);
        }
    }
}
} // namespace

TempGame::TempGame() { copyTree(demoGameDir(), m_dir.path()); }
QString TempGame::root() const { return m_dir.path() + "/"; }
QString TempGame::systemDir() const { return root() + "System/"; }

TempProgramDir::TempProgramDir(const QByteArray& config)
{
    if (!config.isEmpty()) writeFile(configPath(), config);
}
QString TempProgramDir::dir() const { return m_dir.path() + "/"; }

QByteArray configuredProgram(const QString& systemDir, const QString& userIni)
{
    QString dir = systemDir;
    if (dir.endsWith('/')) dir.chop(1);
    if (dir.endsWith("System")) dir.chop(6);
    if (dir.endsWith('/')) dir.chop(1);
    return QStringLiteral("[Corvane]\r\nAutoBackup=False\r\nAskBackup=False\r\nCheckOnStartup=False\r\n"
                          "ShowReadme=False\r\nInit=False\r\n[UT2k3]\r\nDir=%1\r\nSystem=%2\r\nCurrentUserIni=%3\r\n")
        .arg(dir, systemDir, userIni)
        .toUtf8();
}

Script::Script()
{
    MessageBox::startScript([this](const QString& failure) {
        m_failures << failure;
        QTest::qFail(qPrintable(failure), __FILE__, __LINE__);
    });
    ModalRunner::startScript([this](const char* dialogClass) {
        const QString failure = QStringLiteral("unexpected dialog %1").arg(dialogClass);
        m_failures << failure;
        QTest::qFail(qPrintable(failure), __FILE__, __LINE__);
    });
}

Script::~Script()
{
    MessageBox::stopScript();
    ModalRunner::stopScript();
}

Script& Script::box(MessageBox::Kind kind, const QString& text, MessageBox::Buttons buttons, MessageBox::Answer answer)
{
    MessageBox::expect({kind, text, buttons, answer});
    return *this;
}

Script& Script::dialog(ModalRunner::Handler handler)
{
    ModalRunner::pushHandler(std::move(handler));
    return *this;
}

QStringList Script::shownTexts() const
{
    QStringList texts;
    for (const auto& s : MessageBox::shown())
        texts << s.text;
    return texts;
}

bool Script::allShown() const
{
    const bool ok = MessageBox::pendingExpectations() == 0 && ModalRunner::pendingHandlers() == 0;
    if (!ok)
        qWarning("still expected: %d boxes, %d dialogs; shown so far: %s", MessageBox::pendingExpectations(),
                 ModalRunner::pendingHandlers(), qPrintable(shownTexts().join(" | ")));
    return ok && m_failures.isEmpty();
}

} // namespace TestSupport
