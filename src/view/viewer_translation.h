#pragma once

#include <QLocale>
#include <QTranslator>
#include <memory>

namespace orv::view {

// The viewer's texts in the language of locale, installed into the application; none
// where the viewer has no translation for it (English is in the sources).
std::unique_ptr<QTranslator> InstallViewerTranslation(const QLocale& locale);

}  // namespace orv::view
