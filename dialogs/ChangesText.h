#pragma once

#include "core/KeyChanges.h"

#include <QString>

#include <span>

// The words and the table that show a profile change to the player: the
// history's list lines and details, and the backup manager's comparison.
namespace ChangesText {

// One phrase per file that changed: "User.ini: 4 keys: FOV, Name, Team and
// 1 more"; "no change" when neither did.
QString summary(std::span<const KeyChanges> files);

// Every change in full, a table per file: section, key, what changed, the
// values before and after (the columns titled `beforeTitle`, `afterTitle`).
QString details(std::span<const KeyChanges> files, const QString& beforeTitle, const QString& afterTitle);

} // namespace ChangesText
