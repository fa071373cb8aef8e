#pragma once

#include <QDialog>

class LinkLabel;
class QFrame;
class QLabel;
class ShellStarter;

// The about box: the logo, the version, a few words on the program, thanks,
// and links to the home page, the author's mail and the chat channel.
class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* HomePage = "https://corvane2003.example.org/";
    static constexpr const char* MailAddress = "mailto:corvane2003@example.org";
    static constexpr const char* ChatAddress = "irc://irc.quakenet.org/corvane2003";

    // The links are opened through `shell`; `version` fills "Corvane 2003 v%s".
    TfrmAbout(ShellStarter& shell, const QString& version, QWidget* parent = nullptr);

    // The links: the home page is the link's caption, the others its hint.
    void Label3Click();
    void Label5Click();
    void Label7Click();

    QLabel* Image1;
    QLabel* lblVersion;
    QLabel* Label1;
    QFrame* Bevel1;
    QLabel* Label6;
    QFrame* Bevel2;
    QLabel* Label2;
    LinkLabel* Label3;
    QLabel* Label4;
    LinkLabel* Label5;
    LinkLabel* Label7;

private:
    ShellStarter& m_shell;
};
