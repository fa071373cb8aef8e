#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace TestSupport {

// This test program started again with `arguments`: as the unprivileged user
// nobody when the tests run as root (who may read and write everything), as
// the same user otherwise. Root's build may lie where nobody cannot enter (a
// checkout under /root or in a `mktemp -d`), so root's child runs from a copy
// of the program in `reachableDir`, a directory nobody can enter.
struct UnprivilegedRun {
    QString cannotRun;     // why the child could not be run as another user; empty when it ran
    bool finished = false; // within the time given
    int exitCode = -1;
    QByteArray output; // its standard output
};
UnprivilegedRun runUnprivileged(const QString& reachableDir, const QStringList& arguments,
                                const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
                                int timeoutMs = 30000);

} // namespace TestSupport
