#include "pages/ini_text/IniTextsPage.h"

#include "core/PairNotReplaced.h"
#include "core/SaveBatch.h"
#include "dialogs/Guard.h"
#include "dialogs/MessageBox.h"
#include "pages/ini_text/ProfileText.h"
#include "pages/ini_text/SearchInput.h"
#include "platform/Paths.h"
#include "platform/WholeFile.h"
#include "profile/ECorvaneError.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTextBlock>
#include <QTextDocument>
#include <QVBoxLayout>

namespace {

// The search looks at the first this many characters of an editor.
constexpr qsizetype SearchRange = 99999;

QPlainTextEdit* newEditor(const char* name)
{
    auto* editor = new QPlainTextEdit;
    editor->setObjectName(QLatin1String(name));
    editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QPalette colours = editor->palette();
    colours.setColor(QPalette::Base, Qt::black);
    colours.setColor(QPalette::Text, Qt::white);
    editor->setPalette(colours);
    return editor;
}

// One half of the page: the file's label over its editor.
QWidget* half(QLabel* label, QPlainTextEdit* editor)
{
    auto* widget = new QWidget;
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(label);
    layout->addWidget(editor, 1);
    return widget;
}

// The editor's text exactly as typed (a plain-text copy would turn
// non-breaking spaces into spaces).
QString textOf(const QPlainTextEdit* editor) { return editor->document()->toRawText(); }

} // namespace

IniTextsPage::IniTextsPage(const PageContext& context, QWidget* parent)
    : SettingsPage(context.rt, parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("IniTextsPage"));
    lblUserIni = new QLabel(QStringLiteral("User.ini"));
    lblUserIni->setObjectName(QStringLiteral("lblUserIni"));
    lblUT2003ini = new QLabel(QStringLiteral("UT2003.ini"));
    lblUT2003ini->setObjectName(QStringLiteral("lblUT2003ini"));
    reUser = newEditor("reUser");
    reUt2003 = newEditor("reUt2003");
    for (QPlainTextEdit* editor : {reUser, reUt2003})
        editor->installEventFilter(this);
    lblUserIni->setBuddy(reUser);
    lblUT2003ini->setBuddy(reUt2003);

    auto* divider = new QSplitter(Qt::Horizontal);
    divider->setObjectName(QStringLiteral("Splitter1"));
    divider->setChildrenCollapsible(false);
    divider->addWidget(half(lblUserIni, reUser));
    divider->addWidget(half(lblUT2003ini, reUt2003));

    btnSaveInis = new QPushButton(QStringLiteral("Save"));
    btnSaveInis->setObjectName(QStringLiteral("btnSaveInis"));
    btnReloadInis = new QPushButton(QStringLiteral("Reload"));
    btnReloadInis->setObjectName(QStringLiteral("btnReloadInis"));
    // The editors start unwrapped, as the box shows.
    cbWordWrap = new QCheckBox(QStringLiteral("WordWrap"));
    cbWordWrap->setObjectName(QStringLiteral("cbWordWrap"));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(btnSaveInis);
    bottom->addWidget(btnReloadInis);
    bottom->addStretch(1);
    bottom->addWidget(cbWordWrap);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(divider, 1);
    layout->addLayout(bottom);

    Guard::connect(btnSaveInis, &QPushButton::clicked, this, &IniTextsPage::btnSaveInisClick);
    Guard::connect(btnReloadInis, &QPushButton::clicked, this, &IniTextsPage::btnReloadInisClick);
    Guard::connect(cbWordWrap, &QCheckBox::toggled, this, &IniTextsPage::cbWordWrapChange);
}

std::string IniTextsPage::userPath() const
{
    const RunTime& rt = m_context.rt;
    return rt.UserProfile ? rt.UserProfile->FileName() : platform::resolveNoCase(rt.ProfileDir, rt.CurrentUserFileName);
}

std::string IniTextsPage::gamePath() const
{
    const RunTime& rt = m_context.rt;
    return rt.GameProfile ? rt.GameProfile->FileName() : platform::resolveNoCase(rt.ProfileDir, "UT2003.ini");
}

bool IniTextsPage::LoadIniTexts()
{
    const std::string user = userPath();
    const std::string game = gamePath();
    lblUserIni->setText(QString::fromStdString(platform::fileNamePart(user)));
    // Both files are read before either editor changes: an editor never
    // shows one file's text under another file's name.
    std::string userBytes, gameBytes;
    try {
        userBytes = platform::readWholeFile(user);
        gameBytes = platform::readWholeFile(game);
    } catch (const ECorvaneError& e) {
        m_userFile.clear();
        m_gameFile.clear();
        m_loadFailure = e.Message();
        reUser->clear();
        reUt2003->clear();
        m_loadedUser.clear();
        m_loadedGame.clear();
        throw;
    }
    reUser->setPlainText(ProfileText::fromFile(userBytes));
    reUt2003->setPlainText(ProfileText::fromFile(gameBytes));
    // The editors' own text, as a Save would read it back.
    m_loadedUser = textOf(reUser);
    m_loadedGame = textOf(reUt2003);
    m_userFile = user;
    m_gameFile = game;
    m_loadFailure.clear();
    return true;
}

bool IniTextsPage::textsEdited() const { return textOf(reUser) != m_loadedUser || textOf(reUt2003) != m_loadedGame; }

std::map<ProfileFile, std::string> IniTextsPage::files() const
{
    // Editors that could not be filled hold no file: writing them would
    // empty the profiles.
    if (m_userFile.empty() || m_gameFile.empty()) throw ECorvaneError(m_loadFailure);
    // Both texts are turned into bytes first: a character the game's files
    // cannot hold stops the save before anything is written.
    return {{ProfileFile::User, ProfileText::toFile(textOf(reUser))},
            {ProfileFile::Game, ProfileText::toFile(textOf(reUt2003))}};
}

std::optional<std::map<ProfileFile, std::string>> IniTextsPage::editedFiles() const
{
    if (!textsEdited()) return std::nullopt;
    return files();
}

void IniTextsPage::writeTexts()
{
    const std::map<ProfileFile, std::string> texts = files();
    // Both files or neither, as one replacement of the pair.
    std::map<const TIniFile*, std::string> base;
    for (const auto& [file, bytes] : texts)
        base[&m_context.rt.openAccessor(file)] = bytes;
    try {
        SaveBatch(m_context.rt, "Raw text save").commit(base);
    } catch (const PairNotReplaced& failure) {
        throw ECorvaneError("Cannot create file " + failure.path() + "\n" +
                            PairNotReplaced::consequence(failure.undone()));
    }
    LoadIniTexts();
}

bool IniTextsPage::SaveIniTexts()
{
    if (!MessageBox::confirm(QStringLiteral("Are you sure you want to save the ini files?"))) return false;
    if (m_context.mayOverwriteProfiles && !m_context.mayOverwriteProfiles()) return false;
    writeTexts();
    emit filesReplaced();
    return true;
}

bool IniTextsPage::save()
{
    try {
        writeTexts();
    } catch (const std::exception& failure) {
        Guard::showUncaught(failure.what()); // as the page's own Save shows it
        return false;
    }
    emit filesReplaced();
    return true;
}

void IniTextsPage::btnReloadInisClick()
{
    if (!MessageBox::confirm(
            QStringLiteral("Reloading will undo all the changes you made. Are you sure you want to reload?")))
        return;
    LoadIniTexts();
    emit reloadRequested();
    MessageBox::information(QStringLiteral("The ini files have been reloaded"));
}

void IniTextsPage::cbWordWrapChange()
{
    const auto mode = cbWordWrap->isChecked() ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap;
    for (QPlainTextEdit* editor : {reUser, reUt2003})
        editor->setLineWrapMode(mode);
}

bool IniTextsPage::editorKeyDown(QPlainTextEdit* editor, const QKeyEvent& key)
{
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (key.key() != Qt::Key_F || modifiers != Qt::ControlModifier) return false;
    Guard::run([&] { search(editor); });
    return true;
}

void IniTextsPage::search(QPlainTextEdit* editor)
{
    const QString wanted = SearchInput::ask(this);
    if (wanted.isEmpty()) return;
    // Every search starts at the first character.
    const qsizetype at = textOf(editor).left(SearchRange).indexOf(wanted, 0, Qt::CaseInsensitive);
    if (at < 0) {
        MessageBox::information(wanted + QStringLiteral(" not found"));
        return;
    }
    QTextCursor match(editor->document());
    match.setPosition(int(at));
    match.setPosition(int(at + wanted.size()), QTextCursor::KeepAnchor);
    editor->setTextCursor(match);
    editor->ensureCursorVisible();
}

bool IniTextsPage::eventFilter(QObject* watched, QEvent* event)
{
    auto* editor = qobject_cast<QPlainTextEdit*>(watched);
    if (event->type() != QEvent::KeyPress || (editor != reUser && editor != reUt2003))
        return SettingsPage::eventFilter(watched, event);
    return editorKeyDown(editor, static_cast<const QKeyEvent&>(*event));
}
