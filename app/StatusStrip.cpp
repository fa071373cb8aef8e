#include "app/StatusStrip.h"

#include "dialogs/Guard.h"
#include "dialogs/Logo.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// The logo, which opens the about box when clicked.
class ClickableLabel : public QLabel {
public:
    ClickableLabel(std::function<void()> onClick, QWidget* parent)
        : QLabel(parent)
        , m_onClick(std::move(onClick))
    {
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        QLabel::mouseReleaseEvent(event);
        if (m_onClick) Guard::run(m_onClick);
    }

private:
    std::function<void()> m_onClick;
};

QLabel* named(QLabel* label, const char* name)
{
    label->setObjectName(QLatin1String(name));
    return label;
}

} // namespace

StatusStrip::StatusStrip(std::function<void()> logoClicked, QWidget* parent)
    : QWidget(parent)
    , lblDir(named(new QLabel(QStringLiteral("UT2k3 Dir:"), this), "lblDir"))
    , lblCurrUserIni(named(new QLabel(QStringLiteral("Current User.Ini:"), this), "lblCurrUserIni"))
    , lblCurrUt2003ini(named(new QLabel(QStringLiteral("Current UT2003.Ini:"), this), "lblCurrUt2003ini"))
    , lblGameRunning(named(new QLabel(this), "lblGameRunning"))
    , lblNotice(named(new QLabel(this), "lblNotice"))
    , Image1(named(new ClickableLabel(std::move(logoClicked), this), "Image1"))
{
    setObjectName(QStringLiteral("Panel2"));
    setFixedHeight(49);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 1, 4, 1);
    auto* labels = new QVBoxLayout;
    labels->setSpacing(0);
    for (QLabel* label : {lblDir, lblCurrUserIni, lblCurrUt2003ini}) {
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        labels->addWidget(label);
    }
    row->addLayout(labels, 1);
    auto* notes = new QVBoxLayout;
    notes->setSpacing(0);
    for (QLabel* label : {lblGameRunning, lblNotice}) {
        label->setWordWrap(true);
        notes->addWidget(label);
    }
    lblGameRunning->setStyleSheet(QStringLiteral("color: #a00000"));
    row->addLayout(notes, 1);
    Image1->setPixmap(corvaneLogo(QSize(120, 44)));
    Image1->setToolTip(QStringLiteral("About Corvane 2003"));
    row->addWidget(Image1, 0, Qt::AlignRight | Qt::AlignVCenter);
}

void StatusStrip::showPlaces(const QString& gameDir, const QString& userFile, const QString& gameFile)
{
    lblDir->setText(QStringLiteral("UT2k3 dir: ") + gameDir);
    lblCurrUserIni->setText(QStringLiteral("Current User.Ini: ") + userFile);
    lblCurrUt2003ini->setText(QStringLiteral("Current UT2003.Ini: ") + gameFile);
}

void StatusStrip::showNotice(const QString& text) { lblNotice->setText(text); }

void StatusStrip::showGameStatus(const QString& text) { lblGameRunning->setText(text); }
