#pragma once

#include <QLocale>
#include <memory>

class QTranslator;

namespace orv::desktop {

// Qt's own texts (the file dialog, the buttons of message windows) in the language of
// locale, from the translations installed with Qt; none when there are none for it.
std::unique_ptr<QTranslator> LoadQtTranslations(const QLocale& locale);

}  // namespace orv::desktop
