#include "dialogs/fReadme.h"

#include "dialogs/MessageBox.h"
#include "platform/Paths.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmReadme::TfrmReadme(const QString& programDir, QWidget* parent)
    : QDialog(parent)
    , readmeMemo(new QPlainTextEdit(this))
    , btnOk(new QPushButton(QStringLiteral("Ok"), this))
{
    setObjectName(QStringLiteral("TfrmReadme"));
    setWindowTitle(QStringLiteral("ReadMe.txt"));
    readmeMemo->setObjectName(QStringLiteral("readmeMemo"));
    readmeMemo->setAccessibleName(windowTitle()); // the window's only text
    btnOk->setObjectName(QStringLiteral("btnOk"));
    readmeMemo->setStyleSheet(QStringLiteral("QPlainTextEdit { background: black; color: white; }"));
    readmeMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    readmeMemo->setFont(QFont(QStringLiteral("monospace")));
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(readmeMemo);
    layout->addWidget(btnOk, 0, Qt::AlignHCenter);
    setFixedSize(640, 480);

    const QString path =
        QString::fromStdString(platform::AddBackslash(programDir.toStdString())) + QStringLiteral("ReadMe.txt");
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        readmeMemo->setPlainText(QString::fromLocal8Bit(file.readAll()));
    else
        MessageBox::warning(QStringLiteral("Cannot open ReadMe.txt"));
}
