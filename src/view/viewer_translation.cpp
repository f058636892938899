#include "view/viewer_translation.h"

#include <QCoreApplication>

namespace orv::view {

std::unique_ptr<QTranslator> InstallViewerTranslation(const QLocale& locale)
{
    auto translator = std::make_unique<QTranslator>();
    // Built into the program from translations/orvview_<language>.ts.
    if (!translator->load(locale, "orvview", "_", ":/i18n")) return nullptr;
    QCoreApplication::installTranslator(translator.get());
    return translator;
}

}  // namespace orv::view
