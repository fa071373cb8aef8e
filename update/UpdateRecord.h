#pragma once

#include <QString>

// What this program remembers of the updates it offered, in a small file in
// its configuration directory:
//
//   Installed 1.3 1.2
//   Told 1.3
//
// "Installed" is the version an update put in place and the version that
// installed it: a program that starts after it and still reports that older
// version is not offered the same update again (it would be installed and
// started at every start). "Told" is the version about which a start-up
// check last told the user that it will not be installed here, so that the
// start-up check says so once, not at every start.
struct UpdateRecord {
    static constexpr const char* FileName = ".corvane-update.record";

    QString installed, installedFrom;
    QString told;

    // `dir` ends in the separator. A missing or unreadable file reads as empty.
    static UpdateRecord read(const QString& dir);
    bool write(const QString& dir) const;

    // Whether `offered`, seen by a program of version `running`, is the update
    // that was installed and did not take.
    bool didNotTake(const QString& offered, const QString& running) const;
};
