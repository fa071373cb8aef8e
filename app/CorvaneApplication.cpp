#include "app/CorvaneApplication.h"

#include "dialogs/Guard.h"
#include "core/RunTime.h"

#include <QIcon>

#include <exception>

CorvaneApplication::CorvaneApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Corvane2003"));
    setApplicationVersion(QString::fromLatin1(RunTime::Version));
    // The desktop entry and the icon an installed copy brings along.
    setDesktopFileName(QStringLiteral("org.example.corvane2003"));
    QIcon own;
    for (const char* size : {"48", "256"})
        own.addFile(QStringLiteral(":/icons/corvane2003-%1.png").arg(QLatin1String(size)));
    setWindowIcon(QIcon::fromTheme(QStringLiteral("corvane2003"), own));
}

bool CorvaneApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        Guard::showUncaught(e.what());
    } catch (...) {
        Guard::showUncaught("Unknown error");
    }
    return true;
}
