#include "app/enter_clicks.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace orv::app {

bool EnterClicks::eventFilter(QObject* watched, QEvent* event)
{
    auto* button = qobject_cast<QAbstractButton*>(watched);
    if (button == nullptr || event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) || key->isAutoRepeat()
        || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    button->click();
    return true;
}

}  // namespace orv::app
