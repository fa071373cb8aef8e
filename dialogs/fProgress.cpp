#include "dialogs/fProgress.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {
std::vector<TfrmProgress*>& liveWindows()
{
    static std::vector<TfrmProgress*> windows;
    return windows;
}
} // namespace

TfrmProgress::TfrmProgress(const QString& caption, int maximum, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_caption(new QLabel(caption, this))
    , m_bar(new QProgressBar(this))
{
    setObjectName(QStringLiteral("TfrmProgress"));
    m_caption->setObjectName(QStringLiteral("lblCaption"));
    m_bar->setObjectName(QStringLiteral("ProgressBar1"));
    m_bar->setRange(0, maximum);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->addWidget(m_caption);
    layout->addWidget(m_bar);
    setMinimumWidth(280);
    setStyleSheet(QStringLiteral("TfrmProgress { border: 1px solid palette(dark); }"));
    liveWindows().push_back(this);
}

TfrmProgress::~TfrmProgress() { std::erase(liveWindows(), this); }

TfrmProgress::HiddenWhileDialog::HiddenWhileDialog()
{
    for (TfrmProgress* window : liveWindows()) {
        if (!window->isVisible()) continue;
        window->hide();
        m_hidden.emplace_back(window);
    }
}

TfrmProgress::HiddenWhileDialog::~HiddenWhileDialog()
{
    for (const QPointer<TfrmProgress>& window : m_hidden)
        if (window) window->show();
}

void TfrmProgress::setCaption(const QString& caption) { m_caption->setText(caption); }
QString TfrmProgress::caption() const { return m_caption->text(); }
void TfrmProgress::setMaximum(int maximum) { m_bar->setMaximum(maximum); }
void TfrmProgress::setPosition(int position) { m_bar->setValue(position); }
int TfrmProgress::position() const { return m_bar->value(); }
int TfrmProgress::maximum() const { return m_bar->maximum(); }

void TfrmProgress::offerCancel(std::function<void()> onCancel)
{
    if (m_cancel) return;
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    InputBlocker::exempt(m_cancel);
    layout()->addWidget(m_cancel);
    layout()->setAlignment(m_cancel, Qt::AlignRight);
    connect(m_cancel, &QPushButton::clicked, this, [this, onCancel = std::move(onCancel)] {
        withdrawCancel();
        onCancel();
    });
    adjustSize();
}

void TfrmProgress::withdrawCancel()
{
    if (m_cancel) m_cancel->setEnabled(false);
}

void TfrmProgress::showCentred()
{
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r = rect();
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }
    show();
    QApplication::processEvents();
}

void TfrmProgress::step(int position)
{
    setPosition(position);
    QApplication::processEvents();
}
