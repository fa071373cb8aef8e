// Stages the files named on its command line and puts them in place as an
// update does, killing itself after the given number of renames: the crash
// or power cut in the middle of an update that the next start must mend.
//
//   update_kill_child <program dir> <renames before the kill; -1: none> <path> <content> ...

#include "update/StagedFiles.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QStringList>

#include <csignal>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 5) return 2;
    const int killAfter = args[2].toInt();
    StagedFiles staged(args[1], QStringLiteral("corvane2003"));
    std::vector<UpdateFile> files;
    for (qsizetype i = 3; i + 1 < args.size(); i += 2) {
        const QByteArray content = args[i + 1].toUtf8();
        QFile out(staged.prepare(args[i]));
        if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size()) return 2;
        out.close();
        files.push_back({args[i], content.size(), QCryptographicHash::hash(content, QCryptographicHash::Sha256)});
    }
    staged.afterRename = [killAfter](int replaced) {
        if (replaced == killAfter) std::raise(SIGKILL);
    };
    return staged.commit(files, QStringLiteral("1.2"), QStringLiteral("1.3")) ? 0 : 1;
}
