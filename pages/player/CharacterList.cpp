#include "pages/player/CharacterList.h"

#include "pages/Binding.h"
#include "profile/ECorvaneError.h"

#include <QFile>

namespace CharacterList {

QString nameOf(const QByteArray& line)
{
    static const QByteArray nameTag = "DefaultName=\"";
    static const QByteArray meshTag = ",Mesh=";
    const auto name = line.indexOf(nameTag);
    const auto mesh = line.indexOf(meshTag);
    if (name < 0 || mesh < 0) return {}; // a line without a name tag names no one
    const auto start = name + nameTag.size();
    const auto count = mesh - start - 1; // the closing quote stands right before ",Mesh="
    if (count <= 0) return {};
    return Binding::fromProfile(line.mid(start, count).toStdString());
}

QStringList read(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        throw ECorvaneError("Cannot open file \"" + path + "\". " + file.errorString().toStdString());
    QStringList names;
    while (!file.atEnd()) {
        const QString name = nameOf(file.readLine());
        if (!name.isEmpty()) names << name;
    }
    if (file.error() != QFileDevice::NoError)
        throw ECorvaneError("Cannot read file \"" + path + "\". " + file.errorString().toStdString());
    return names;
}

} // namespace CharacterList
