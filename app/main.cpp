#include "app/CommandLine.h"
#include "app/CorvaneApplication.h"
#include "app/fMain.h"

int main(int argc, char** argv)
{
    if (const std::optional<int> exitCode = CommandLine::handle(argc, argv)) return *exitCode;
    CorvaneApplication app(argc, argv);
    TfrmMain window(Environment::system(QCoreApplication::applicationDirPath().toStdString()));
    if (window.exitRequested()) return 0;
    window.show();
    return app.exec();
}
