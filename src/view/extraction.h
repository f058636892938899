#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "engine/convert/batch_options.h"

namespace orv {
class Input;
class SettingsFile;
}  // namespace orv

namespace orv::view {

// What entries taken out are written as: orvconv-cli's choices.
struct ExtractChoices {
    QString folder;  // the folder the input's output folder is made in, as -o gives it
    OutputMode mode = AllBmp;
    AnimationOutput animation = AnimationOutput::Frames;
    bool aniRaw = false;
    int frameMs = 100;
    int sheetColumns = 0;  // 0: as many as there are frames, at most 16
};

// What the entries to take out are, so that only the choices that apply to them are offered.
struct ExtractScope {
    std::string input;  // the input's path, which names the folder written
    bool archive = true;  // a pack archive; else an animation file, always decoded
    bool pictures = false;
    bool animations = false;
};

// What writing some entries ended with.
struct ExtractOutcome {
    bool stopped = false;
    QString error;  // empty: every chosen entry was written
    QStringList notes;  // files a later entry wrote over, as orvconv-cli tells them
};

// Told as entries are written: how many of all the input holds are done.
using ExtractProgress = std::function<void(int done, int total)>;

// Writes the chosen entries of an input (chosen empty: all of them) through the
// conversion engine, with the same files orvconv-cli writes for them: the other pictures
// and animations before the last chosen entry are drawn too, for what they leave on the
// canvas. Runs on the calling thread; progress (when given) is told how far it is.
ExtractOutcome ExtractEntries(const Input& input, const SettingsFile* settings, const ExtractChoices& choices,
                              const std::vector<bool>& chosen, const ExtractProgress& progress, std::stop_token stop);

// The output folder the entries of an input go to inside choices.folder.
QString ExtractedFolder(const std::string& input, const ExtractChoices& choices);

// ExtractEntries on a thread of its own, telling progress and the end as signals on the
// thread that started it. Destroying it stops the work and waits for it.
class Extraction : public QObject {
    Q_OBJECT

public:
    Extraction(std::shared_ptr<const Input> input, std::shared_ptr<const SettingsFile> settings, ExtractChoices choices,
               std::vector<bool> chosen, QObject* parent = nullptr);
    ~Extraction() override;

    void Start();
    // Ends the work after the entry under way.
    void Cancel();

signals:
    void Progress(int done, int total);
    void Finished(const orv::view::ExtractOutcome& outcome);

private:
    std::shared_ptr<const Input> input_;
    std::shared_ptr<const SettingsFile> settings_;
    ExtractChoices choices_;
    std::vector<bool> chosen_;
    std::jthread worker_;
};

}  // namespace orv::view
