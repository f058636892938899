#include "app/desktop_identity.h"

#include <QApplication>
#include <QIcon>

namespace orv::app {

void SetDesktopIdentity()
{
    QGuiApplication::setDesktopFileName("orvconv");
    QApplication::setWindowIcon(QIcon::fromTheme("orvconv"));
}

}  // namespace orv::app
