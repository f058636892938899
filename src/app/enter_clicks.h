#pragma once

#include <QObject>

namespace orv::app {

// Installed on a push button of a plain window, where only Space would click it:
// Return and Enter click it as well, as they do on buttons of the system's own windows.
class EnterClicks : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace orv::app
