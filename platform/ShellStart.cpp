#include "platform/ShellStart.h"

#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/WinePrefix.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QUrl>

namespace platform {

std::vector<std::string> splitParameters(const std::string& parameters)
{
    // The rules of the Windows C runtime: blanks (space, tab) separate
    // arguments outside quotes; a double quote starts or ends a quoted part;
    // "" inside a quoted part is a literal quote; 2n backslashes before a
    // quote stand for n backslashes, 2n+1 for n and a literal quote;
    // backslashes before anything else are literal.
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false;
    bool inQuotes = false;
    std::size_t i = 0;
    const std::size_t n = parameters.size();
    while (i < n) {
        const char c = parameters[i];
        if (c == '\\') {
            std::size_t count = 0;
            while (i < n && parameters[i] == '\\') {
                ++count;
                ++i;
            }
            if (i < n && parameters[i] == '"') {
                current.append(count / 2, '\\');
                if (count % 2 == 1) {
                    current += '"';
                    ++i;
                }
            } else {
                current.append(count, '\\');
            }
            inArgument = true;
            continue;
        }
        if (c == '"') {
            if (inQuotes && i + 1 < n && parameters[i + 1] == '"') {
                current += '"';
                i += 2;
            } else {
                inQuotes = !inQuotes;
                ++i;
            }
            inArgument = true;
            continue;
        }
        if ((c == ' ' || c == '\t') && !inQuotes) {
            if (inArgument) {
                arguments.push_back(current);
                current.clear();
                inArgument = false;
            }
            ++i;
            continue;
        }
        current += c;
        inArgument = true;
        ++i;
    }
    if (inArgument) arguments.push_back(current);
    return arguments;
}

std::string quoteArgument(const std::string& argument)
{
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
    // Inside quotes, backslashes count only before a quote: double those, and
    // escape each quote with one more.
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"')
            quoted.append(2 * backslashes + 1, '\\');
        else
            quoted.append(backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, '\\');
    quoted += '"';
    return quoted;
}

bool isWindowsExecutable(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return false;
    char magic[2] = {};
    return file.read(magic, 2) == 2 && magic[0] == 'M' && magic[1] == 'Z';
}

LaunchCommand makeLaunchCommand(const std::string& program, const std::string& parameters)
{
    LaunchCommand command;
    command.arguments = splitParameters(parameters);
    if (isWindowsExecutable(program)) {
        command.program = "wine";
        command.arguments.insert(command.arguments.begin(), program);
        command.winePrefix = enclosingWinePrefix(program);
    } else {
        command.program = program;
    }
    return command;
}

} // namespace platform

bool ProcessShellStarter::Start(const std::string& program, const std::string& parameters, const std::string& workDir)
{
    // An absolute path: a bare name must never be looked up on PATH.
    const QFileInfo info(QString::fromStdString(program));
    if (program.empty() || !info.isFile()) return false;
    if (!workDir.empty() && !platform::directoryExists(workDir)) return false;

    const platform::LaunchCommand command =
        platform::makeLaunchCommand(info.absoluteFilePath().toStdString(), parameters);
    QStringList arguments;
    arguments.reserve(static_cast<qsizetype>(command.arguments.size()));
    for (const std::string& argument : command.arguments)
        arguments << QString::fromStdString(argument);

    QProcess process;
    process.setProgram(QString::fromStdString(command.program));
    process.setArguments(arguments);
    if (!workDir.empty()) process.setWorkingDirectory(QString::fromStdString(workDir));
    if (!command.winePrefix.empty()) {
        // A game found in another prefix runs in its own, not in the one
        // the program was started with.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("WINEPREFIX"), QString::fromStdString(command.winePrefix));
        process.setProcessEnvironment(environment);
    }
    process.setStandardInputFile(QProcess::nullDevice());
    return process.startDetached();
}

bool ProcessShellStarter::OpenUrl(const std::string& url)
{
    if (url.empty()) return false;
    // fromUserInput gives "www.example.com" its http:// and keeps "mailto:".
    const QUrl target = QUrl::fromUserInput(QString::fromStdString(url));
    if (!target.isValid()) return false;
    return QDesktopServices::openUrl(target);
}
