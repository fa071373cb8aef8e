#pragma once

#include "core/BackupPlace.h"
#include "core/Questions.h"

#include <optional>
#include <string>

// The restores of the open pair of profiles (the open user file and
// UT2003.ini) from other contents: a dated backup, the .BAK copies, the
// game's defaults, an entry of the history. One flow for all of them: the
// question, the sources checked before anything is written, the .BAK copies
// of the pair as it is (where the restore keeps them), and the pair replaced
// as one operation. No file of the pair is written when any step fails or is
// refused, and no .BAK copy is replaced unless both are.
enum class RestoreKind {
    Dated,    // the dated pair of `label` (a date text)
    Bak,      // the .BAK copies, put back
    Defaults, // DefUser.ini and Default.ini of the game
    History,  // a state the history kept, of the time `label`
};

// A source of one profile: its bytes, or the file to read them from.
struct RestoreSource {
    std::string path;
    std::optional<std::string> bytes;
};

struct RestoreRequest {
    RestoreKind kind = RestoreKind::Dated;
    QString label;
    RestoreSource user; // for the open user file
    RestoreSource game; // for UT2003.ini
};

struct RestoreOutcome : Outcome {
    bool bakCopiesMade = false; // the .BAK pair now holds the profiles as they were
};

RestoreOutcome restoreProfiles(const BackupPlace& place, const RestoreRequest& request, Questions& questions);

// The sources of each restore, for the pair `place` names.
RestoreRequest datedRestore(const BackupPlace& place, const std::string& dateText);
RestoreRequest bakRestore(const BackupPlace& place);
// The defaults lie in the game's `systemDir`, which for the native Linux game
// is not where its profiles are.
RestoreRequest defaultsRestore(const std::string& systemDir);

// The open user file of `place`, and UT2003.ini beside it.
std::string userFileOf(const BackupPlace& place);
std::string gameFileOf(const BackupPlace& place);
