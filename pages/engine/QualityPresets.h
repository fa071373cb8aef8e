#pragma once

struct BackupPlace;
class QWidget;

enum class Quality { Low, High };

// Puts the controls of the "UT2k3 Settings" page `page` into the low or high
// quality set, after a question and an offered backup (asked whatever the
// backup setting says). Nothing is written: the values reach UT2003.ini with
// the next Save.
void ApplyQualityPreset(QWidget& page, Quality quality, const BackupPlace& place);
