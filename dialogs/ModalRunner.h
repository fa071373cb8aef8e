#pragma once

#include <functional>

class QDialog;

// Runs the program's modal dialogs (setup dialog, file dialogs, input boxes).
// Tests hand in the next answers: a queued handler receives the dialog instead
// of the user, may fill it in, and returns the dialog's result code.
namespace ModalRunner {

int exec(QDialog& dialog);

using Handler = std::function<int(QDialog&)>;
void pushHandler(Handler handler);
int pendingHandlers();
// While scripted, a dialog with no handler left is reported through the
// failure callback and throws, so that no loop waits for it forever.
void startScript(std::function<void(const char* dialogClass)> onUnexpected);
void stopScript();

} // namespace ModalRunner
