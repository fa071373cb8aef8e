#pragma once

#include "update/UpdateControlFile.h"

#include <QString>

#include <functional>
#include <vector>

struct UpdateJournal;

// The files of an update, written beside the program before any of them
// replaces an original. They wait in a hidden directory inside the program's
// directory, so that each replacement is a rename on the same file system:
// a file is either the old one or the new one, never half written. The
// originals are kept there under a second name until the new program has
// started, and a journal beside the program (UpdateJournal.h) tells a later
// start what an interrupted replacement had done.
class StagedFiles {
public:
    static constexpr const char* DirName = ".corvane-update";

    // What a start found of an earlier update, and did with it.
    enum class Recovery {
        Nothing,    // no unfinished update
        Completed,  // the replacement was interrupted; its remaining files were put in place
        RolledBack, // the replacement was interrupted and could not be finished; the originals are back
        Cleaned,    // an update had finished; its kept originals were removed
        Failed,     // the originals could not all be put back: the journal and the kept files stay
    };

    // `programDir` ends in the separator; `executable` is the program's own
    // file name there, which a new copy makes executable.
    StagedFiles(QString programDir, QString executable);
    // Whatever was not committed is removed, unless a journal still needs it.
    ~StagedFiles();
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;

    // Whether `relative` (a path IsSafeUpdatePath accepts) also stays inside the
    // program's directory on disk: no directory on its way is a link leading out.
    bool insideProgramDir(const QString& relative) const;

    // Where the new copy of `relative` is written; its directory is created.
    // Empty when it cannot be, or would lie outside the program's directory.
    QString prepare(const QString& relative);

    // Replaces each original by its staged copy, in order, keeping the
    // original's permissions and creating the folders a new file needs. The
    // journal is written first; the directories are synced after the renames.
    // Nothing is done when a file, its new copy or its kept original no
    // longer stays inside the program's directory.
    // When one file cannot be put in place, every original replaced so far is
    // put back and false is returned (the journal stays when one of them
    // cannot be put back, so that the next start tries again).
    bool commit(const std::vector<UpdateFile>& files, const QString& fromVersion, const QString& toVersion);

    // After the new program has started: the kept originals and the journal go.
    void finish();

    // Removes the staged copies, unless a journal still needs them.
    void discard();

    // Whether an update's journal lies in `programDir`.
    static bool hasJournal(const QString& programDir);
    // Finishes or undoes, from its journal, an update that was interrupted in
    // `programDir`. Run at start, before anything else. A journal that names a
    // place outside `programDir` on disk (through a link) is left as it is,
    // with everything it names: Failed.
    static Recovery recover(const QString& programDir);
    static QString journalPath(const QString& programDir);

    // Called once the journal is written and after each rename of commit(),
    // with the number of files put in place so far.
    std::function<void(int)> afterRename;

private:
    QString m_programDir;
    QString m_executable;
};
