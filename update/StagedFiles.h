#pragma once

#include <QString>

#include <vector>

// The files of an update, written beside the program before any of them
// replaces an original. They wait in a hidden directory inside the program's
// directory, so that each replacement is a rename on the same file system:
// a file is either the old one or the new one, never half written.
class StagedFiles {
public:
    static constexpr const char* DirName = ".corvane-update";

    // `programDir` ends in the separator; `executable` is the program's own
    // file name there, which a new copy makes executable.
    StagedFiles(QString programDir, QString executable);
    // Whatever was not committed is removed.
    ~StagedFiles();
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;

    // Whether `relative` (a path IsSafeUpdatePath accepts) also stays inside the
    // program's directory on disk: no directory on its way is a link leading out.
    bool insideProgramDir(const QString& relative) const;

    // Where the new copy of `relative` is written; its directory is created.
    // Empty when it cannot be.
    QString prepare(const QString& relative);

    // Replaces each original by its staged copy, in order, keeping the
    // original's permissions. When one cannot be replaced, every original
    // replaced so far is put back and false is returned.
    bool commit(const std::vector<QString>& relatives);

    // Removes the staged copies.
    void discard();

private:
    QString stagingDir() const { return m_programDir + QLatin1String(DirName); }

    QString m_programDir;
    QString m_executable;
};
