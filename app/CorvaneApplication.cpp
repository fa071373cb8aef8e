#include "app/CorvaneApplication.h"

#include "dialogs/Guard.h"
#include "pages/RunTime.h"

#include <exception>

CorvaneApplication::CorvaneApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Corvane2003"));
    setApplicationVersion(QString::fromLatin1(RunTime::Version));
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
