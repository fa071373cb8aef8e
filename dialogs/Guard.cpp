#include "dialogs/Guard.h"

#include "dialogs/MessageBox.h"

namespace Guard {

QString failureText(const std::exception& failure)
{
    return QStringLiteral("Error occured:") + QString::fromLocal8Bit(failure.what());
}

void showFailure(const std::exception& failure) { MessageBox::error(failureText(failure)); }

void showUncaught(const char* message) { MessageBox::error(QString::fromLocal8Bit(message)); }

bool run(const std::function<void()>& work) noexcept
{
    try {
        work();
        return true;
    } catch (const std::exception& e) {
        try {
            showUncaught(e.what());
        } catch (...) {
            // A box that cannot be shown (a scripted test that did not expect
            // it has recorded it already) ends here.
        }
    } catch (...) {
        try {
            showUncaught("Unknown error");
        } catch (...) {
        }
    }
    return false;
}

} // namespace Guard
