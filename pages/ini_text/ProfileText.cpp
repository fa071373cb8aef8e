#include "pages/ini_text/ProfileText.h"

#include "platform/CodePage.h"

namespace ProfileText {

QString fromFile(std::string_view bytes)
{
    std::string lines;
    lines.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r') {
            lines.push_back(bytes[i]);
            continue;
        }
        lines.push_back('\n');
        if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    }
    return platform::fromCodePage(lines);
}

std::string toFile(const QString& text)
{
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (const QChar separator : {QChar(u'\r'), QChar(QChar::ParagraphSeparator), QChar(QChar::LineSeparator)})
        lines.replace(separator, QChar(u'\n'));
    const std::string bytes = platform::toCodePageOrThrow(lines);
    std::string file;
    file.reserve(bytes.size() + bytes.size() / 16 + 2);
    for (const char c : bytes) {
        if (c == '\n') file.push_back('\r');
        file.push_back(c);
    }
    if (!bytes.empty() && bytes.back() != '\n') file.append("\r\n");
    return file;
}

} // namespace ProfileText
