#include "dialogs/CorvaneHelp.h"

#include "dialogs/MessageBox.h"

void showCorvaneHelp()
{
    MessageBox::information(QStringLiteral("No help available yet\nI dont have plans to make one either"));
}
