#pragma once

#include <QApplication>

// The application object. An error that no handler catches is shown in an
// error box with its message, and the program goes on.
class CorvaneApplication : public QApplication {
public:
    CorvaneApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
