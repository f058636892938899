// window_screenshots SAMPLE_DIR OUT_DIR: PNGs of the window as a user sees it, in OUT_DIR:
// idle.png, dialog.png (the file dialog), converting.png (both bars part-way) and
// finished.png (the final message). It converts the samples of SAMPLE_DIR for real, with
// OUT_DIR/work/ standing for the executable's folder. Run it under a window manager so
// that frames and captions show; fonts are fixed here, the locale by the caller.
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressBar>
#include <QTimer>
#include <fstream>
#include <QTranslator>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "app/tform1.h"
#include "app/ui_dialogs.h"
#include "app/window_placement.h"
#include "desktop/qt_translations.h"
#include "desktop/screen_shots.h"
#include "engine/base/executable_path.h"

namespace fs = std::filesystem;

namespace {

using orv::shots::Settle;
using orv::shots::Shoot;
using orv::shots::WaitUntilShown;

class ShotDialogs : public orv::app::QtDialogs {
public:
    ShotDialogs(fs::path out, QStringList inputs) : out_(std::move(out)), inputs_(std::move(inputs)) { }

    QWidget* window = nullptr;

    std::optional<QStringList> ChooseFiles(QFileDialog& dialog) override
    {
        dialog.setDirectory(QFileInfo(inputs_.first()).absolutePath());
        dialog.show();
        WaitUntilShown(dialog);
        Shoot(dialog.frameGeometry(), out_ / "dialog.png");
        dialog.hide();
        return inputs_;
    }

    void ShowMessage(const QString& title, const QString& text, bool autoClose) override
    {
        QTimer::singleShot(0, [this] {
            QWidget* box = QApplication::activeModalWidget();
            if (box == nullptr) return;
            WaitUntilShown(*box);
            Shoot(window->frameGeometry().united(box->frameGeometry()), out_ / "finished.png");
            box->close();
        });
        QtDialogs::ShowMessage(title, text, autoClose);
    }

private:
    fs::path out_;
    QStringList inputs_;
};

// Takes its picture at the first pump with both bars about half-way.
class ShotForm : public orv::app::TForm1 {
public:
    ShotForm(ShotDialogs& dialogs, const std::string& executable, fs::path out) :
        TForm1(dialogs, executable), out_(std::move(out))
    { }

    void PumpEvents() override
    {
        TForm1::PumpEvents();
        const auto* files = findChild<QProgressBar*>("ProgressBar1");
        const auto* entries = findChild<QProgressBar*>("ProgressBar");
        if (shot_ || files->value() == 0 || 2 * entries->value() < entries->maximum()) return;
        shot_ = true;
        Settle(300);
        Shoot(frameGeometry(), out_ / "converting.png");
    }

private:
    fs::path out_;
    bool shot_ = false;
};

const fs::file_time_type kInputTime = fs::file_time_type::clock::from_sys(
    std::chrono::sys_seconds{std::chrono::sys_days{std::chrono::year{2024} / 4 / 1}});

// The samples in a folder of their own, named as a user's files might be.
QStringList CopyInputs(const fs::path& samples, const fs::path& folder)
{
    fs::create_directories(folder);
    const std::pair<const char*, const char*> copies[]
        = {{"walk.ani", "walk.ani"}, {"sample.dat", "sample.dat"}, {"sample.dat", "おまけ.dat"}};
    QStringList inputs;
    for (const auto& [from, to] : copies) {
        fs::copy_file(samples / from, folder / to, fs::copy_options::overwrite_existing);
        // The dialog lists modification times: the same ones every run.
        fs::last_write_time(folder / to, kInputTime);
        inputs << QString::fromStdString((folder / to).string());
    }
    return inputs;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: window_screenshots SAMPLE_DIR OUT_DIR\n");
        return 2;
    }
    const fs::path samples = fs::absolute(argv[1]);
    const fs::path out = fs::absolute(argv[2]);
    const fs::path work = out / "work";
    fs::remove_all(work);
    fs::create_directories(work);
    fs::copy_file(samples / "sample.ini", work / "sample.ini");
    // A portable setup: the window keeps its files there, not in the user's folder.
    std::ofstream(work / orv::kPortableMarker).put('\n');

    // Message windows and the dialog in the window's face, whatever the desktop's settings.
    QFont font("IPAPGothic");
    font.setPixelSize(12);
    QApplication::setFont(font);
    const std::unique_ptr<QTranslator> qtTexts = orv::desktop::LoadQtTranslations(QLocale::system());
    if (qtTexts) QApplication::installTranslator(qtTexts.get());

    ShotDialogs dialogs(out, CopyInputs(samples, work / "入力"));
    ShotForm form(dialogs, (work / "orvconv").string(), out);
    dialogs.window = &form;
    dialogs.SetOwner(&form);
    orv::app::CentreOnScreen(form);
    form.show();
    WaitUntilShown(form);
    Shoot(form.frameGeometry(), out / "idle.png");
    form.StartButtonClick();
    return 0;
}
