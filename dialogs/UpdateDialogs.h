#pragma once

#include "update/UpdatePrompts.h"

#include <memory>

class QWidget;
class TfrmProgress;

// The update check's messages and progress window: the program's message
// boxes, and a progress window standing over the main window.
class UpdateDialogs : public UpdatePrompts {
public:
    explicit UpdateDialogs(QWidget* window);
    ~UpdateDialogs() override;

    void information(const QString& text) override;
    void error(const QString& text) override;
    void openProgress(const QString& caption, std::function<void()> onCancel) override;
    void showProgress(const QString& caption, qint64 position, qint64 maximum) override;
    void withdrawCancel() override;
    void closeProgress() override;
    std::unique_ptr<InputBlock> blockInput() override;

    // The progress window, while it is open.
    TfrmProgress* progressWindow() const { return m_progress.get(); }

private:
    QWidget* m_window;
    std::unique_ptr<TfrmProgress> m_progress;
};
