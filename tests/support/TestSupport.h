#pragma once

#include "dialogs/MessageBox.h"
#include "dialogs/ModalRunner.h"

#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <stdexcept>
#include <string>

// Shared fixtures of the test programs: temporary game and program
// directories, scripted message boxes and dialogs, controls by name.
namespace TestSupport {

QString sourceDir();   // the project's source tree
QString demoGameDir(); // data/demo-game in the source tree
QString corpusDir();   // the real game files kept beside the project; may be missing
QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);
// Every file below `dir`, by its path, with its bytes.
QMap<QString, QByteArray> filesBelow(const QString& dir);

// A copy of the demo game in a temporary directory.
class TempGame {
public:
    TempGame();
    bool isValid() const { return m_dir.isValid(); }
    QString root() const;      // ends in '/'
    QString systemDir() const; // root + "System/"
    QString path(const QString& relative) const { return root() + relative; }
    QString userIni() const { return systemDir() + "User.ini"; }
    QString gameIni() const { return systemDir() + "UT2003.ini"; }

private:
    QTemporaryDir m_dir;
};

// A temporary program directory with its own Corvane2003.ini.
class TempProgramDir {
public:
    // `config` is written as the file's content (may be empty: no file).
    explicit TempProgramDir(const QByteArray& config = {});
    QString dir() const; // ends in '/'
    QString configPath() const { return dir() + "Corvane2003.ini"; }
    QByteArray config() const { return readFile(configPath()); }

private:
    QTemporaryDir m_dir;
};

// The configuration of an already set up program: no setup dialog, no update
// check, no start-up backup.
QByteArray configuredProgram(const QString& systemDir, const QString& userIni = "User.ini");

// Scripts the message boxes and modal dialogs for the life of the object.
// Every box must be expected, in order; a mismatch fails the running test.
class Script {
public:
    Script();
    ~Script();
    Script(const Script&) = delete;
    Script& operator=(const Script&) = delete;

    Script& box(MessageBox::Kind kind, const QString& text, MessageBox::Buttons buttons,
                MessageBox::Answer answer = MessageBox::Answer::Ok);
    Script& dialog(ModalRunner::Handler handler);

    const std::vector<MessageBox::Shown>& shown() const { return MessageBox::shown(); }
    QStringList shownTexts() const;
    // True when every expected box and dialog came; reports the rest.
    bool allShown() const;
    const QStringList& failures() const { return m_failures; }

private:
    QStringList m_failures;
};

// A named control, or a clear failure (thrown, so the test stops there).
template <class T> T* child(QObject* root, const QString& name)
{
    T* found = root ? root->findChild<T*>(name) : nullptr;
    if (!found && root && root->objectName() == name) found = qobject_cast<T*>(root);
    if (!found) throw std::runtime_error("no control named \"" + name.toStdString() + "\" of the expected type");
    return found;
}

} // namespace TestSupport
