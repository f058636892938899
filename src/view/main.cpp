// orvview: look inside an archive or animation file without converting it.
#include <QApplication>
#include <cstdio>

#include "desktop/command_line.h"
#include "desktop/qt_translations.h"
#include "view/viewer_dialogs.h"
#include "view/viewer_translation.h"
#include "view/viewer_window.h"

namespace {

const orv::desktop::ProgramTexts kTexts{
    "orvview", "[FILE]",
    "Opens the viewer of ORVENDA 3.2 pack archives (.dat) and animation files (.ani): their\n"
    "entries in a list, and a preview of each exactly as orvconv writes it. FILE, when given,\n"
    "is opened at once; \"--\" ends the options. Any other option is a usage error (status 2).\n\n"
    "  -h, --help     show this text\n"
    "  -V, --version  show the version"};

}  // namespace

int main(int argc, char** argv)
{
    if (const std::optional<int> answered = orv::desktop::AnswerInformationRequest(argc, argv, kTexts))
        return *answered;
    QApplication application(argc, argv);
    QApplication::setOrganizationName("orvconv");
    QApplication::setApplicationName("orvview");
    QGuiApplication::setDesktopFileName("orvview");
    // The viewer's texts and Qt's own (dialog buttons) in the desktop's language.
    const std::unique_ptr<QTranslator> texts = orv::view::InstallViewerTranslation(QLocale::system());
    const std::unique_ptr<QTranslator> qtTexts = orv::desktop::LoadQtTranslations(QLocale::system());
    if (qtTexts) QApplication::installTranslator(qtTexts.get());
    const orv::desktop::CommandLine line = orv::desktop::ReadCommandLine(argc, argv, kTexts);
    if (!line.usageError.empty() || line.files.size() > 1) {
        std::fprintf(stderr, "%s\n", line.usageError.empty() ? "usage: orvview [FILE]" : line.usageError.c_str());
        return 2;
    }
    orv::view::QtViewerDialogs dialogs;
    orv::view::ViewerWindow window(dialogs);
    window.show();
    if (!line.files.empty()) window.OpenInput(line.files.front());
    return QApplication::exec();
}
