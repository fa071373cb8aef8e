#include "app/CorvaneApplication.h"

#include "dialogs/MessageBox.h"

#include <exception>

CorvaneApplication::CorvaneApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Corvane2003"));
    setApplicationVersion(QStringLiteral("1.2"));
}

bool CorvaneApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowUncaughtError(e.what());
    } catch (...) {
        ShowUncaughtError("Unknown error");
    }
    return true;
}

void ShowUncaughtError(const char* message) { MessageBox::error(QString::fromLocal8Bit(message)); }
