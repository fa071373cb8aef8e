#include "pages/instant_action/MapSources.h"

#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "profile/IniFiles.h"

#include <QFile>

#include <algorithm>
#include <exception>

namespace MapSources {

QString upperAscii(QString text)
{
    for (QChar& c : text)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 'a' + 'A');
    return text;
}

void sortIgnoringCase(QStringList& names)
{
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
}

QStringList fileNames(const std::vector<std::string>& names)
{
    QStringList result;
    for (const std::string& name : names)
        result << QFile::decodeName(name.c_str());
    return result;
}

bool fitsTheAddress(const QString& name)
{
    return !name.contains(QLatin1Char('?')) && !name.contains(QLatin1Char(',')) && !name.contains(QLatin1Char('\\'));
}

QStringList mapNames(const std::string& gameRoot, const QString& filter)
{
    if (gameRoot.empty()) return {};
    const std::string maps = platform::AddBackslash(platform::resolveNoCase(gameRoot, "Maps"));
    const QString wanted = upperAscii(filter);
    QStringList result;
    for (const QString& name : fileNames(platform::findFiles(maps, "*.ut2")))
        if (upperAscii(name).contains(wanted) && fitsTheAddress(name)) result << name.chopped(4);
    sortIgnoringCase(result);
    return result;
}

QStringList mutatorNames(const std::string& systemDir)
{
    if (systemDir.empty()) return {};
    std::vector<std::string> sections;
    try {
        TIniFile(platform::resolveNoCase(systemDir, "XGame.int")).ReadSections(sections);
    } catch (const std::exception&) {
        return {}; // an unreadable file lists no mutator
    }
    QStringList result;
    for (const std::string& section : sections) {
        // A mutator's section names it after three characters ("MutInstaGib");
        // a section without "Mut" (the short "[A]" among them) is none.
        if (section.find("Mut") == std::string::npos) continue;
        const QString name = platform::fromCodePage(section.substr(3));
        if (!name.isEmpty() && fitsTheAddress(name)) result << name;
    }
    sortIgnoringCase(result);
    return result;
}

QString mapInformation(const std::string& systemDir, const QString& mapName)
{
    const QString missing = QStringLiteral("Cannot find information about this map");
    const qsizetype dash = mapName.indexOf(QLatin1Char('-'));
    const std::optional<std::string> key = platform::toCodePage(dash < 0 ? mapName : mapName.mid(dash + 1));
    if (systemDir.empty() || !key || key->empty()) return missing;
    std::string bytes;
    try {
        bytes = TIniFile(platform::resolveNoCase(systemDir, "XMaps.int")).ReadString("DecoText", *key, "");
    } catch (const std::exception&) {
        return missing;
    }
    // The game's files quote their descriptions; the Windows profile reader
    // hands them over without the quotes.
    if (bytes.size() >= 2 && bytes.front() == '"' && bytes.back() == '"') bytes = bytes.substr(1, bytes.size() - 2);
    QString text = platform::fromCodePage(bytes);
    text.replace(QStringLiteral("||"), QStringLiteral("\r\n"));
    return text.isEmpty() ? missing : text;
}

} // namespace MapSources
