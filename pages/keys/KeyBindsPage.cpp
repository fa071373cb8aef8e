#include "pages/keys/KeyBindsPage.h"

#include "dialogs/Guard.h"
#include "pages/Binding.h"

#include "core/RunTime.h"
#include "pages/keys/FreeBindingBox.h"
#include "pages/keys/InputProfile.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <limits>

namespace {

// Where a field stands in its group.
struct Placement {
    KeyGroup group;
    int column;
    int line;
    const char* label;
    QLineEdit* edit;
};

QLineEdit* makeKeyField(const char* name)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(std::numeric_limits<int>::max()); // a command has no length limit of its own
    edit->setMinimumWidth(60);
    QPalette colours = edit->palette();
    colours.setColor(QPalette::Base, Qt::black);
    colours.setColor(QPalette::Text, Qt::white);
    edit->setPalette(colours);
    return edit;
}

// A key group with its small clear button at the top right corner, on the
// line of the frame.
class KeyGroupBox : public QGroupBox {
public:
    explicit KeyGroupBox(const KeyGroupInfo& info)
        : QGroupBox(QString::fromLatin1(info.caption))
    {
        clearButton = new QToolButton(this);
        clearButton->setObjectName(QString::fromLatin1(info.clearButton));
        clearButton->setToolTip(QString::fromLatin1(info.clearHint));
        clearButton->setIcon(style()->standardIcon(QStyle::SP_LineEditClearButton));
        clearButton->setAutoRaise(true);
        // Reached by Tab, not taken by a click from the field being edited.
        clearButton->setFocusPolicy(Qt::TabFocus);
        clearButton->setAccessibleName(clearButton->toolTip());
    }

    QToolButton* clearButton;

protected:
    void resizeEvent(QResizeEvent* e) override
    {
        QGroupBox::resizeEvent(e);
        QStyleOptionGroupBox option;
        initStyleOption(&option);
        const QRect title = style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, this);
        const int side = std::max(16, title.height());
        clearButton->setGeometry(width() - side - 8, title.center().y() - side / 2, side, side);
        clearButton->raise();
    }
};

} // namespace

KeyBindsPage::KeyBindsPage(const RunTime& rt, QWidget* parent)
    : SettingsPage(rt, parent)
    , m_rt(rt)
{
    setObjectName(QStringLiteral("KeyBindsPage"));

    std::vector<Placement> placements;
    std::vector<Binding::Row> bindings;
    for (const KeyRow& row : keyTable()) {
        QLineEdit* edit = makeKeyField(row.field);
        bindings.push_back(Binding::text(edit, Binding::File::User, InputSection, row.key)
                               .writesAs(row.savedKey())
                               .inGroup(int(row.group)));
        placements.push_back({row.group, row.column, row.line, row.label, edit});
    }
    for (const UnboundField& field : unboundFields()) {
        QLineEdit* edit = makeKeyField(field.field);
        bindings.push_back(Binding::unbound(edit).inGroup(int(field.group)));
        placements.push_back({field.group, field.column, field.line, field.label, edit});
    }
    setRows(std::move(bindings));

    auto group = [&](KeyGroup key) {
        auto* box = new KeyGroupBox(keyGroupInfo(key));
        Guard::connect(box->clearButton, &QToolButton::clicked, this, [this, key] { clearGroup(key); });
        auto* grid = new QGridLayout(box);
        grid->setHorizontalSpacing(4);
        grid->setVerticalSpacing(2);
        grid->setContentsMargins(6, 4, 6, 6);
        int columns = 0;
        for (const Placement& p : placements) {
            if (p.group != key) continue;
            auto* label = new QLabel(QString::fromLatin1(p.label));
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            label->setBuddy(p.edit);
            grid->addWidget(label, p.line, 2 * p.column);
            grid->addWidget(p.edit, p.line, 2 * p.column + 1);
            columns = std::max(columns, p.column + 1);
        }
        for (int c = 0; c < columns; ++c)
            grid->setColumnStretch(2 * c + 1, 1);
        grid->setRowStretch(grid->rowCount(), 1);
        return box;
    };

    m_freeBinding = new FreeBindingBox(rt, {[this] { return KeyBindsChanged(); }, [this] { LoadKeyBinds(); }});

    // "Define own key" and "Alpha keys" side by side; "Function keys" and
    // "Number keys" below the first, "Numeric keys" below the second; then
    // "Other keys" and "Joystick" across the full width.
    auto* functionAndNumber = new QHBoxLayout;
    functionAndNumber->addWidget(group(KeyGroup::Function));
    functionAndNumber->addWidget(group(KeyGroup::Number));
    auto* left = new QVBoxLayout;
    left->addWidget(m_freeBinding);
    left->addLayout(functionAndNumber, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(group(KeyGroup::Alpha));
    right->addWidget(group(KeyGroup::Numeric), 1);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 2);
    top->addLayout(right, 3);

    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("KeyBindsContent"));
    auto* rows = new QVBoxLayout(content);
    rows->setContentsMargins(4, 4, 4, 4);
    rows->addLayout(top);
    rows->addWidget(group(KeyGroup::Other));
    rows->addWidget(group(KeyGroup::Joystick));

    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("ScrollBox1"));
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(scroll);
}

KeyBindsPage::~KeyBindsPage() = default;

void KeyBindsPage::loadPage()
{
    InputProfile::of(m_rt);
    SettingsPage::loadPage();
}

void KeyBindsPage::savePage(Binding::Writes& out) const
{
    InputProfile::of(m_rt);
    SettingsPage::savePage(out);
}

void KeyBindsPage::clearGroup(KeyGroup group)
{
    for (const Binding::Row& row : table().rows())
        if (row.group == int(group)) Binding::putText(row, {});
}
