#include "platform/DateText.h"

#include <QLocale>

namespace platform {

QString dateText(const QDate& date, const QString& shortPattern)
{
    // The date separator is "-": every "/" of the pattern is written as "-",
    // any other separator the pattern spells out (a dot) stays. The digits
    // are ASCII whatever the user's locale, so a name built from the text is
    // the same for every use on one day.
    QString pattern = shortPattern;
    pattern.replace(QLatin1Char('/'), QLatin1Char('-'));
    QString text = QLocale::c().toString(date, pattern);
    if (text.trimmed().isEmpty()) text = QLocale::c().toString(date, QStringLiteral("yyyy-MM-dd"));
    // Backup names are built from the text: it never holds a path separator,
    // not even from a quoted literal of the pattern.
    text.replace(QLatin1Char('/'), QLatin1Char('-'));
    text.replace(QLatin1Char('\\'), QLatin1Char('-'));
    return text;
}

QString todayText(const QDate& today) { return dateText(today, QLocale::system().dateFormat(QLocale::ShortFormat)); }

} // namespace platform
