#include "dialogs/fAbout.h"

#include "dialogs/LinkLabel.h"
#include "dialogs/Logo.h"
#include "platform/ShellStart.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace {

QFrame* bevel(const char* name, QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setObjectName(QLatin1String(name));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QLabel* label(const char* name, const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

LinkLabel* link(const char* name, const QString& caption, const QString& hint, QWidget* parent)
{
    auto* l = new LinkLabel(caption, parent);
    l->setObjectName(QLatin1String(name));
    l->setToolTip(hint);
    return l;
}

} // namespace

TfrmAbout::TfrmAbout(ShellStarter& shell, const QString& version, QWidget* parent)
    : QDialog(parent)
    , Image1(label("Image1", QString(), this))
    , lblVersion(label("lblVersion", QStringLiteral("Corvane 2003 v%1").arg(version), this))
    , Label1(label("Label1",
                   QStringLiteral("The Unreal Tournament 2003 INI Editor\n"
                                  "Key binds, aliases, your player, the engine, display and sound,\n"
                                  "and the instant action rules: User.ini and UT2003.ini\n"
                                  "edited the way the game reads them, with dated backups."),
                   this))
    , Bevel1(bevel("Bevel1", this))
    , Label6(label("Label6",
                   QStringLiteral("Thanks to everybody who tried the early versions,\n"
                                  "sent in their INI files and told me what the game\n"
                                  "really does with them. See you on the servers!"),
                   this))
    , Bevel2(bevel("Bevel2", this))
    , Label2(label("Label2", QStringLiteral("Visit homepage:"), this))
    , Label3(link("Label3", QLatin1String(HomePage), QLatin1String(HomePage), this))
    , Label4(label("Label4", QStringLiteral("Contact:"), this))
    , Label5(link("Label5", QStringLiteral("Mail the author"), QLatin1String(MailAddress), this))
    , Label7(link("Label7", QStringLiteral("#corvane2003 on QuakeNet"), QLatin1String(ChatAddress), this))
    , m_shell(shell)
{
    setObjectName(QStringLiteral("TfrmAbout"));
    setWindowTitle(QStringLiteral("About - Corvane2003"));
    Image1->setPixmap(corvaneLogo(QSize(240, 72)));
    QFont bold = lblVersion->font();
    bold.setBold(true);
    lblVersion->setFont(bold);
    for (QLabel* centred : {Image1, lblVersion, Label1, Label6})
        centred->setAlignment(Qt::AlignCenter);
    connect(Label3, &LinkLabel::clicked, this, &TfrmAbout::Label3Click);
    connect(Label5, &LinkLabel::clicked, this, &TfrmAbout::Label5Click);
    connect(Label7, &LinkLabel::clicked, this, &TfrmAbout::Label7Click);

    auto* links = new QGridLayout;
    links->addWidget(Label2, 0, 0);
    links->addWidget(Label3, 0, 1);
    links->addWidget(Label4, 1, 0, 2, 1, Qt::AlignTop);
    links->addWidget(Label5, 1, 1);
    links->addWidget(Label7, 2, 1);
    links->setColumnStretch(1, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Image1);
    layout->addWidget(lblVersion);
    layout->addWidget(Label1);
    layout->addWidget(Bevel1);
    layout->addWidget(Label6);
    layout->addWidget(Bevel2);
    layout->addLayout(links);
    layout->addWidget(buttons);
    setFixedSize(sizeHint());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r(QPoint(), size());
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }
}

// A link the shell cannot open is not reported.
void TfrmAbout::Label3Click() { m_shell.OpenUrl(Label3->text().toStdString()); }
void TfrmAbout::Label5Click() { m_shell.OpenUrl(Label5->toolTip().toStdString()); }
void TfrmAbout::Label7Click() { m_shell.OpenUrl(Label7->toolTip().toStdString()); }
