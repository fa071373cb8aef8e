#include "update/UpdateJournal.h"

#include "update/UpdateControlFile.h"

#include <QList>

namespace {

constexpr const char* Heading = "Corvane 2003 update journal";

} // namespace

QByteArray UpdateJournal::text() const
{
    QByteArray out = QByteArray(Heading) + '\n';
    out += QByteArray("State ") + (state == State::Replacing ? "replacing" : "replaced") + '\n';
    out += "From " + from.toUtf8() + "\nTo " + to.toUtf8() + '\n';
    for (const QString& folder : folders)
        out += "Folder " + folder.toUtf8() + '\n';
    for (const Entry& entry : entries)
        out += (entry.hasOriginal ? "Replace " : "Add ") + entry.sha256.toHex() + ' ' + entry.path.toUtf8() + '\n';
    return out;
}

std::optional<UpdateJournal> UpdateJournal::parse(const QByteArray& text)
{
    QList<QByteArray> lines = text.split('\n');
    if (lines.isEmpty() || lines.takeFirst() != Heading || !text.endsWith('\n')) return std::nullopt;
    lines.removeLast(); // after the final line feed
    UpdateJournal journal;
    bool hasState = false;
    for (const QByteArray& line : lines) {
        const qsizetype blank = line.indexOf(' ');
        const QByteArray keyword = line.left(blank);
        const QByteArray rest = blank < 0 ? QByteArray() : line.mid(blank + 1);
        if (keyword == "State" && (rest == "replacing" || rest == "replaced")) {
            journal.state = rest == "replacing" ? State::Replacing : State::Replaced;
            hasState = true;
        } else if (keyword == "From") {
            journal.from = QString::fromUtf8(rest);
        } else if (keyword == "To") {
            journal.to = QString::fromUtf8(rest);
        } else if (keyword == "Folder" && isSafeUpdatePath(QString::fromUtf8(rest))) {
            journal.folders.push_back(QString::fromUtf8(rest));
        } else if (keyword == "Replace" || keyword == "Add") {
            const QByteArray hash = QByteArray::fromHex(rest.left(64));
            const QString path = QString::fromUtf8(rest.mid(65));
            if (hash.size() != 32 || rest.size() < 66 || rest.at(64) != ' ' || !isSafeUpdatePath(path))
                return std::nullopt;
            journal.entries.push_back({path, hash, keyword == "Replace"});
        } else {
            return std::nullopt;
        }
    }
    if (!hasState) return std::nullopt;
    return journal;
}
