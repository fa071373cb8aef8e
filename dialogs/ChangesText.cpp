#include "dialogs/ChangesText.h"

#include "platform/CodePage.h"

#include <QFile>
#include <QStringList>

namespace {

// The key names a list line spells out before "and N more".
constexpr std::size_t NamedKeys = 3;

// Keys and values are the profile's text; file names are the file system's.
QString text(const std::string& bytes) { return platform::fromCodePage(bytes); }
QString html(const std::string& bytes) { return text(bytes).toHtmlEscaped(); }
QString fileName(const std::string& name) { return QFile::decodeName(QByteArray::fromStdString(name)); }

QString keys(std::size_t count) { return count == 1 ? QStringLiteral("1 key") : QStringLiteral("%1 keys").arg(count); }

QString fileSummary(const KeyChanges& file)
{
    const QString name = fileName(file.file);
    if (file.existedBefore && !file.existedAfter) return name + QStringLiteral(" removed");
    const QString what = file.existedBefore ? name : name + QStringLiteral(" created");
    const std::size_t count = file.keyCount();
    if (count == 0) return what + QStringLiteral(": no key (comments, blanks or line ends)");
    QStringList named;
    for (const KeyChanges::Section& section : file.sections) {
        for (const KeyChanges::Key& key : section.keys) {
            if (named.size() < static_cast<qsizetype>(NamedKeys)) named << text(key.name);
        }
    }
    QString line = what + QStringLiteral(": ") + keys(count) + QStringLiteral(": ") + named.join(QStringLiteral(", "));
    if (count > NamedKeys) line += QStringLiteral(" and %1 more").arg(count - NamedKeys);
    return line;
}

QString mark(KeyChanges::Mark mark)
{
    switch (mark) {
    case KeyChanges::Mark::Added:
        return QStringLiteral("added");
    case KeyChanges::Mark::Removed:
        return QStringLiteral("removed");
    case KeyChanges::Mark::Changed:
        break;
    }
    return QStringLiteral("changed");
}

// A key's values, one line each; a dash when the key is not there.
QString values(const std::vector<std::string>& all)
{
    if (all.empty()) return QStringLiteral("<span style='color:gray'>&mdash;</span>");
    QStringList lines;
    for (const std::string& value : all)
        lines << (value.empty() ? QStringLiteral("<i style='color:gray'>(empty)</i>") : html(value));
    return lines.join(QStringLiteral("<br>"));
}

QString fileTable(const KeyChanges& file, const QString& beforeTitle, const QString& afterTitle)
{
    QString out = QStringLiteral("<h3>") + fileName(file.file).toHtmlEscaped();
    if (file.existedBefore != file.existedAfter)
        out += file.existedAfter ? QStringLiteral(" &mdash; file created") : QStringLiteral(" &mdash; file removed");
    out += QStringLiteral("</h3>");
    if (file.sections.empty()) {
        return out + QStringLiteral("<p>No key changed: only comments, blank lines or line ends.</p>");
    }
    out += QStringLiteral("<table cellspacing='0' cellpadding='3' border='1' style='border-collapse:collapse'>"
                          "<tr><th align='left'>Section</th><th align='left'>Key</th>"
                          "<th align='left'>Change</th><th align='left'>") +
           beforeTitle.toHtmlEscaped() + QStringLiteral("</th><th align='left'>") + afterTitle.toHtmlEscaped() +
           QStringLiteral("</th></tr>");
    for (const KeyChanges::Section& section : file.sections) {
        const QString name = QStringLiteral("[") + html(section.name) + QStringLiteral("]");
        if (section.mark != KeyChanges::Mark::Changed)
            out += QStringLiteral("<tr><td><b>%1</b></td><td colspan='4'><b>section %2</b></td></tr>")
                       .arg(name, mark(section.mark));
        for (const KeyChanges::Key& key : section.keys) {
            out += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td><td>%4</td><td>%5</td></tr>")
                       .arg(name, html(key.name), mark(key.mark), values(key.before), values(key.after));
        }
    }
    return out + QStringLiteral("</table>");
}

} // namespace

namespace ChangesText {

QString summary(std::span<const KeyChanges> files)
{
    QStringList parts;
    for (const KeyChanges& file : files) {
        if (file.textChanged) parts << fileSummary(file);
    }
    return parts.isEmpty() ? QStringLiteral("no change") : parts.join(QStringLiteral("; "));
}

QString details(std::span<const KeyChanges> files, const QString& beforeTitle, const QString& afterTitle)
{
    QString out;
    for (const KeyChanges& file : files) {
        if (file.textChanged) out += fileTable(file, beforeTitle, afterTitle);
    }
    return out.isEmpty() ? QStringLiteral("<p>Neither file changed.</p>") : out;
}

} // namespace ChangesText
