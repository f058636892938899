// orvconv: the conversion engine behind its Japanese window.
#include <QApplication>
#include <QTranslator>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "app/app_text.h"
#include "app/desktop_identity.h"
#include "app/tform1.h"
#include "app/ui_dialogs.h"
#include "app/window_placement.h"
#include "desktop/command_line.h"
#include "desktop/qt_translations.h"
#include "engine/base/executable_path.h"

int main(int argc, char** argv)
{
    if (const std::optional<int> answered = orv::desktop::AnswerInformationRequest(argc, argv, orv::app::kOrvconvTexts))
        return *answered;
    QApplication application(argc, argv);
    orv::app::SetDesktopIdentity();
    const std::unique_ptr<QTranslator> qtTexts = orv::desktop::LoadQtTranslations(QLocale::system());
    if (qtTexts) QApplication::installTranslator(qtTexts.get());
    // QApplication has taken its own options out of argv.
    const orv::desktop::CommandLine line = orv::desktop::ReadCommandLine(argc, argv, orv::app::kOrvconvTexts);
    if (!line.usageError.empty()) {
        std::fprintf(stderr, "%s\n", line.usageError.c_str());
        return 2;
    }
    const std::vector<std::string>& files = line.files;
    const std::string executable = orv::RunningExecutablePath(argv[0]);
    orv::app::QtDialogs dialogs;
    try {
        orv::app::TForm1 Form1(dialogs, executable);
        dialogs.SetOwner(&Form1);
        orv::app::CentreOnScreen(Form1);
        Form1.show();
        // As a file manager's "Open with" starts it: the files wait for the Start button, as
        // the dialog's choice does, so that opening a file never writes folders unasked.
        Form1.OfferFiles(files);
        return QApplication::exec();
    } catch (const std::exception& failure) {
        dialogs.ShowError(QString::fromUtf8(orv::app::ProgramTitle(executable).c_str()),
                          QString::fromUtf8(orv::app::ErrorDisplayText(failure.what()).c_str()));
        return 0;
    }
}
