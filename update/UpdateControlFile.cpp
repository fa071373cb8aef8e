#include "update/UpdateControlFile.h"

#include <QList>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

namespace {

QList<int> versionNumbers(const QString& version)
{
    QList<int> numbers;
    for (const QString& part : version.split(QLatin1Char('.')))
        numbers << part.toInt();
    while (numbers.size() > 1 && numbers.back() == 0)
        numbers.pop_back();
    return numbers;
}

UpdateControlFile::Parsed failure(UpdateError error, const QString& detail)
{
    UpdateControlFile::Parsed parsed;
    parsed.error = error;
    parsed.detail = detail;
    return parsed;
}

// "31/12/2027" (to the end of that day) or "31/12/2027 18:00", in UTC.
QDateTime expiryOf(const QString& text)
{
    static const QRegularExpression blanks(QStringLiteral("[ \\t]+"));
    const QStringList parts = text.split(blanks);
    const QDate date = QDate::fromString(parts[0], QStringLiteral("dd/MM/yyyy"));
    if (!date.isValid() || parts.size() > 2) return {};
    if (parts.size() == 1) return QDateTime(date.addDays(1), QTime(0, 0), Qt::UTC);
    const QTime time = QTime::fromString(parts[1], QStringLiteral("hh:mm"));
    return time.isValid() ? QDateTime(date, time, Qt::UTC) : QDateTime();
}

} // namespace

bool isVersion(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^[0-9]{1,4}(\\.[0-9]{1,4}){0,3}$"));
    return pattern.match(text).hasMatch();
}

bool isNewerVersion(const QString& candidate, const QString& current)
{
    const QList<int> a = versionNumbers(candidate);
    const QList<int> b = versionNumbers(current);
    return std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end());
}

bool isSafeUpdatePath(const QString& path)
{
    if (path.isEmpty() || path.size() > 255) return false;
    const QStringList parts = path.split(QLatin1Char('/'));
    if (parts.size() > 8) return false;
    for (const QString& part : parts) {
        // Empty parts come from a leading "/" or from "//"; "." opens ".", ".." and hidden names.
        if (part.isEmpty() || part.startsWith(QLatin1Char('.'))) return false;
        for (const QChar c : part)
            if (c.unicode() < 0x20 || c == QChar(0x7f) || c == QLatin1Char('\\') || c == QLatin1Char(':')) return false;
    }
    return true;
}

UpdateControlFile::Parsed UpdateControlFile::parse(const QByteArray& bytes)
{
    if (bytes.size() > MaxSize) return failure(UpdateError::TooLarge, QString());
    const QString text = QString::fromUtf8(bytes);
    if (text.contains(QChar::ReplacementCharacter) || text.contains(QChar(0)))
        return failure(UpdateError::Malformed, QStringLiteral("not a text file"));

    static const QRegularExpression blanks(QStringLiteral("[ \\t]+"));
    static const QRegularExpression hex(QStringLiteral("^[0-9a-fA-F]{64}$"));
    Parsed parsed;
    UpdateControlFile& content = parsed.content;
    QSet<QString> paths;
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#'))) continue;
        const QString keyword = trimmed.section(blanks, 0, 0).toLower();
        if (keyword == QLatin1String("version")) {
            const QString version = trimmed.section(blanks, 1);
            if (!content.version.isEmpty() || !isVersion(version)) return failure(UpdateError::Malformed, line);
            content.version = version;
        } else if (keyword == QLatin1String("expires")) {
            const QDateTime expires = expiryOf(trimmed.section(blanks, 1));
            if (content.expires.isValid() || !expires.isValid()) return failure(UpdateError::Malformed, line);
            content.expires = expires;
        } else if (keyword == QLatin1String("file")) {
            // The path is the rest of the line, so that it may hold blanks.
            const QStringList fields = trimmed.split(blanks);
            if (fields.size() < 4) return failure(UpdateError::Malformed, line);
            bool sizeOk = false;
            const qint64 size = fields[1].toLongLong(&sizeOk);
            if (!sizeOk || size < 0 || fields[1].startsWith(QLatin1Char('+')) || !hex.match(fields[2]).hasMatch())
                return failure(UpdateError::Malformed, line);
            if (size > MaxFileSize) return failure(UpdateError::TooLarge, line);
            const QString path = trimmed.section(blanks, 3);
            if (!isSafeUpdatePath(path)) return failure(UpdateError::UnsafePath, line);
            if (paths.contains(path.toLower())) return failure(UpdateError::Malformed, line);
            paths.insert(path.toLower());
            if (static_cast<int>(content.files.size()) == MaxFiles) return failure(UpdateError::TooLarge, line);
            content.files.push_back({path, size, QByteArray::fromHex(fields[2].toLatin1())});
        } else {
            return failure(UpdateError::Malformed, line);
        }
    }
    if (content.version.isEmpty()) return failure(UpdateError::Malformed, QStringLiteral("no version"));
    if (!content.expires.isValid()) return failure(UpdateError::Malformed, QStringLiteral("no expiry date"));
    return parsed;
}
