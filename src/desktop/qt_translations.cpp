#include "desktop/qt_translations.h"

#include <QLibraryInfo>
#include <QTranslator>

namespace orv::desktop {

std::unique_ptr<QTranslator> LoadQtTranslations(const QLocale& locale)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) return nullptr;
    return translator;
}

}  // namespace orv::desktop
