#pragma once

#include <QDate>
#include <QString>

namespace platform {

// A date in a short date pattern with "-" as the date separator: the pattern
// M/d/yyyy gives 12-8-2026, dd.MM.yyyy gives 08.12.2026. The text never holds
// a path separator.
QString dateText(const QDate& date, const QString& shortPattern);

// Today in the user's short date pattern.
QString todayText(const QDate& today = QDate::currentDate());

} // namespace platform
