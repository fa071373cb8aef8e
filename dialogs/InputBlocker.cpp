#include "dialogs/InputBlocker.h"

#include "dialogs/fProgress.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace {

int g_blockers = 0;
const char* const ExemptProperty = "corvaneTakesInputWhileBlocked";

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

// A widget inside a dialog or message box that was opened while input is
// blocked (the setup dialog, a question) still takes input.
bool insideOpenDialog(const QWidget* widget)
{
    const QWidget* modal = QApplication::activeModalWidget();
    if (!modal || qobject_cast<const TfrmProgress*>(modal)) return false;
    if (!widget) return true; // window-level events reach the dialog's widgets only through Qt's own routing
    if (modal == widget || modal->isAncestorOf(widget)) return true;
    const QWidget* popup = QApplication::activePopupWidget(); // a pick list opened in the dialog
    return popup && (popup == widget || popup->isAncestorOf(widget));
}

class Filter : public QObject {
public:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (!isUserInput(event->type())) return false;
        auto* widget = qobject_cast<QWidget*>(receiver);
        if (!widget && event->type() != QEvent::Shortcut) return false; // forwarded to a widget, filtered there
        if (insideOpenDialog(widget)) return false;
        if (widget && event->type() != QEvent::Close && widget->property(ExemptProperty).toBool()) return false;
        event->ignore();
        return true;
    }
};

Filter* g_filter = nullptr;

} // namespace

InputBlocker::InputBlocker()
{
    if (g_blockers++ == 0 && qApp) {
        g_filter = new Filter;
        qApp->installEventFilter(g_filter);
    }
}

InputBlocker::~InputBlocker()
{
    if (--g_blockers == 0 && g_filter) {
        if (qApp) qApp->removeEventFilter(g_filter);
        delete g_filter;
        g_filter = nullptr;
    }
}

bool InputBlocker::active() { return g_blockers > 0; }

void InputBlocker::exempt(QWidget* widget) { widget->setProperty(ExemptProperty, true); }
