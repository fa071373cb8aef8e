#pragma once

struct BackupPlace;
namespace Binding {
class Table;
}

enum class Quality { Low, High };

// Puts the rows of the "UT2k3 Settings" page that carry preset values into
// the low or high quality set, after a question and an offered backup (asked
// whatever the backup setting says). Nothing is written: the values reach
// UT2003.ini with the next Save.
void ApplyQualityPreset(const Binding::Table& rows, Quality quality, const BackupPlace& place);
