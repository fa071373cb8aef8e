#include "dialogs/fAbout.h"

#include "dialogs/Logo.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

TfrmAbout::TfrmAbout(QWidget* parent)
    : QDialog(parent)
    , Image1(new QLabel(this))
    , lblVersion(new QLabel(this))
    , Label1(new QLabel(this))
{
    setObjectName(QStringLiteral("TfrmAbout"));
    setWindowTitle(QStringLiteral("About - Corvane2003"));
    Image1->setObjectName(QStringLiteral("Image1"));
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    Label1->setObjectName(QStringLiteral("Label1"));

    Image1->setPixmap(CorvaneLogo(QSize(160, 48)));
    Image1->setAlignment(Qt::AlignCenter);
    lblVersion->setText(QStringLiteral("Corvane 2003 v%1").arg(QStringLiteral("1.2")));
    QFont bold = lblVersion->font();
    bold.setBold(true);
    lblVersion->setFont(bold);
    lblVersion->setAlignment(Qt::AlignCenter);
    Label1->setText(QStringLiteral("The Unreal Tournament 2003 INI Editor\n"
                                   "Edits User.ini and UT2003.ini the way the game writes them."));
    Label1->setAlignment(Qt::AlignCenter);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Image1);
    layout->addWidget(lblVersion);
    layout->addWidget(Label1);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
}
