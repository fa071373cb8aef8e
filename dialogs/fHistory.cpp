#include "dialogs/fHistory.h"

#include "dialogs/ChangesText.h"
#include "dialogs/MessageBox.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

template <class T> T* named(T* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QString when(const ProfileHistory::Entry& entry)
{
    return QLocale().toString(entry.when.toLocalTime(), QLocale::ShortFormat);
}

QString heading(const ProfileHistory::Entry& entry)
{
    return when(entry) + QStringLiteral(" \u2014 ") + entry.operation;
}

const QString OutsideNote = QStringLiteral("made outside the program: by the game or another editor");
const QString Unreadable = QStringLiteral("The files kept for this entry cannot be read back");

} // namespace

TfrmHistory::TfrmHistory(const ProfileHistory& history, const ProfileState& current, PutBack putBack, QWidget* parent)
    : QDialog(parent)
    , lbHistory(named(new QListWidget(this), "lbHistory"))
    , reHistoryChanges(named(new QTextEdit(this), "reHistoryChanges"))
    , btnPutBack(named(new QPushButton(QStringLiteral("Put back"), this), "btnPutBack"))
    , btnClose(named(new QPushButton(QStringLiteral("Close"), this), "btnClose"))
    , m_changes(history)
    , m_putBack(std::move(putBack))
{
    setObjectName(QStringLiteral("TfrmHistory"));
    setWindowTitle(QStringLiteral("History of the profiles"));
    setModal(true);

    auto* listLabel = new QLabel(QStringLiteral("&Changes, newest first:"), this);
    listLabel->setBuddy(lbHistory);
    lbHistory->setAccessibleName(QStringLiteral("Changes, newest first"));
    lbHistory->setSelectionMode(QAbstractItemView::SingleSelection);
    lbHistory->setWordWrap(true);
    lbHistory->setAlternatingRowColors(true);
    reHistoryChanges->setReadOnly(true);
    reHistoryChanges->setAccessibleName(QStringLiteral("Changes of the selected entry"));
    btnPutBack->setToolTip(QStringLiteral("Both files go back to how they were before the selected change"));
    btnPutBack->setAutoDefault(false);
    btnClose->setDefault(true);
    connect(lbHistory, &QListWidget::currentRowChanged, this, &TfrmHistory::showEntry);
    connect(btnPutBack, &QPushButton::clicked, this, &TfrmHistory::btnPutBackClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnPutBack);
    buttons->addStretch();
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(listLabel);
    layout->addWidget(lbHistory, 2);
    layout->addWidget(reHistoryChanges, 3);
    layout->addLayout(buttons);
    resize(820, 620);

    m_changes.reload(current);
    fillList();
}

void TfrmHistory::fillList()
{
    lbHistory->clear();
    const std::vector<ProfileHistory::Entry>& entries = m_changes.entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const HistoryChanges::FilesChanges* changes = m_changes.changes(i);
        const QString summary = changes ? ChangesText::summary(*changes) : Unreadable;
        auto* item = new QListWidgetItem(heading(entries[i]) + QLatin1Char('\n') + summary, lbHistory);
        item->setToolTip(entries[i].outside ? OutsideNote : summary);
        if (entries[i].outside) {
            QFont font = item->font();
            font.setItalic(true);
            item->setFont(font);
        }
    }
    if (lbHistory->count() > 0)
        lbHistory->setCurrentRow(0);
    else
        showEntry(-1);
}

void TfrmHistory::showEntry(int row)
{
    const std::size_t index = static_cast<std::size_t>(row);
    const HistoryChanges::FilesChanges* changes = row >= 0 ? m_changes.changes(index) : nullptr;
    const bool ofOpenPair = row >= 0 && m_changes.ofCurrentPair(index);
    btnPutBack->setEnabled(changes != nullptr && ofOpenPair && m_putBack != nullptr);
    if (row < 0) {
        reHistoryChanges->setHtml(QStringLiteral("<p>No change of the profiles has been kept yet.</p>"));
        return;
    }
    const ProfileHistory::Entry& entry = m_changes.entries()[index];
    QString text = QStringLiteral("<p><b>") + heading(entry).toHtmlEscaped() + QStringLiteral("</b>");
    if (entry.outside) text += QStringLiteral(", ") + OutsideNote;
    text += QStringLiteral("</p>");
    if (!changes) {
        reHistoryChanges->setHtml(text + QStringLiteral("<p>") + Unreadable + QStringLiteral("</p>"));
        return;
    }
    if (ofOpenPair)
        text += QStringLiteral("<p style='color:gray'>Put back returns both files to the &ldquo;Before&rdquo; "
                               "column: how they were before this change.</p>");
    else
        text += QStringLiteral("<p style='color:gray'>This change was made to %1, which is not open: open it to put "
                               "it back.</p>")
                    .arg(QFile::decodeName(QByteArray::fromStdString(entry.names[0])).toHtmlEscaped());
    reHistoryChanges->setHtml(text + ChangesText::details(*changes, QStringLiteral("Before"), QStringLiteral("After")));
}

void TfrmHistory::btnPutBackClick()
{
    const int row = lbHistory->currentRow();
    if (row < 0 || !m_putBack) return;
    const std::optional<ProfileState> wanted = m_changes.before(static_cast<std::size_t>(row));
    if (!wanted) {
        MessageBox::warning(Unreadable);
        return;
    }
    const std::optional<ProfileState> now = m_putBack(*wanted, when(m_changes.entries()[std::size_t(row)]));
    if (!now) return;
    m_changes.reload(*now);
    fillList();
}
