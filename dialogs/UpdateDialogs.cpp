#include "dialogs/UpdateDialogs.h"

#include "dialogs/InputBlocker.h"
#include "dialogs/MessageBox.h"
#include "dialogs/fProgress.h"

namespace {

struct BlockedInput : UpdatePrompts::InputBlock {
    InputBlocker blocker;
};

} // namespace

UpdateDialogs::UpdateDialogs(QWidget* window)
    : m_window(window)
{
}

UpdateDialogs::~UpdateDialogs() = default;

void UpdateDialogs::information(const QString& text) { MessageBox::information(text); }

void UpdateDialogs::error(const QString& text) { MessageBox::error(text); }

void UpdateDialogs::openProgress(const QString& caption, std::function<void()> onCancel)
{
    m_progress.reset();
    m_progress = std::make_unique<TfrmProgress>(caption, 5, m_window);
    // While the update runs, no input may reach the main window.
    m_progress->setWindowModality(Qt::ApplicationModal);
    m_progress->offerCancel(std::move(onCancel));
    m_progress->showCentred();
}

void UpdateDialogs::showProgress(const QString& caption, qint64 position, qint64 maximum)
{
    if (!m_progress || !m_progress->isVisible()) return;
    m_progress->setMaximum(static_cast<int>(maximum));
    m_progress->setPosition(static_cast<int>(position));
    m_progress->setCaption(caption);
}

void UpdateDialogs::withdrawCancel()
{
    if (m_progress) m_progress->withdrawCancel();
}

void UpdateDialogs::closeProgress() { m_progress.reset(); }

std::unique_ptr<UpdatePrompts::InputBlock> UpdateDialogs::blockInput() { return std::make_unique<BlockedInput>(); }
