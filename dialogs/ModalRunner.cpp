#include "dialogs/ModalRunner.h"

#include "dialogs/fProgress.h"

#include <QDialog>

#include <deque>
#include <stdexcept>
#include <string>

namespace ModalRunner {
namespace {
struct Script {
    bool active = false;
    std::deque<Handler> handlers;
    std::function<void(const char*)> onUnexpected;
};
Script& script()
{
    static Script s;
    return s;
}
} // namespace

int exec(QDialog& dialog)
{
    const TfrmProgress::HiddenWhileDialog uncovered;
    Script& s = script();
    if (!s.active) return dialog.exec();
    if (s.handlers.empty()) {
        // Stop the caller: a dialog loop that nobody answers would never end.
        if (s.onUnexpected) s.onUnexpected(dialog.metaObject()->className());
        throw std::runtime_error(std::string("unexpected dialog ") + dialog.metaObject()->className());
    }
    Handler handler = std::move(s.handlers.front());
    s.handlers.pop_front();
    return handler(dialog);
}

void pushHandler(Handler handler) { script().handlers.push_back(std::move(handler)); }
int pendingHandlers() { return static_cast<int>(script().handlers.size()); }

void startScript(std::function<void(const char*)> onUnexpected)
{
    Script& s = script();
    s = Script{};
    s.active = true;
    s.onUnexpected = std::move(onUnexpected);
}

void stopScript() { script() = Script{}; }

} // namespace ModalRunner
