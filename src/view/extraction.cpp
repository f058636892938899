#include "view/extraction.h"

#include <QFile>
#include <QMetaObject>
#include <new>

#include "engine/base/fatal_error.h"
#include "engine/base/text.h"
#include "engine/convert/converter.h"
#include "engine/convert/status_view.h"
#include "engine/output/output_names.h"
#include "engine/read/input.h"

namespace orv::view {

namespace {

// Keeps the notes and hands the progress on; everything else is not shown.
class ExtractionView final : public SilentStatusView {
public:
    explicit ExtractionView(const ExtractProgress& progress) : progress_(progress) { }
    void SetEntryProgressMax(std::int32_t maximum) override
    {
        total_ = maximum;
        Tell(0);
    }
    void SetEntryProgressPosition(std::int32_t position) override { Tell(position); }
    void ShowNote(const std::string& text) override { notes << QString::fromStdString(text); }
    QStringList notes;

private:
    void Tell(int done)
    {
        if (progress_) progress_(done, total_);
    }
    const ExtractProgress& progress_;
    int total_ = 0;
};

std::string LocalPath(const QString& file)
{
    return QFile::encodeName(file).toStdString();
}

}  // namespace

QString ExtractedFolder(const std::string& input, const ExtractChoices& choices)
{
    const std::string name = OutputFolderName(AsciiLower(FileNamePart(input)));
    return QFile::decodeName(QByteArray::fromStdString(LocalPath(choices.folder) + '/' + name));
}

ExtractOutcome ExtractEntries(const Input& input, const SettingsFile* settings, const ExtractChoices& choices,
                              const std::vector<bool>& chosen, const ExtractProgress& progress, std::stop_token stop)
{
    ExtractionView shown(progress);
    Converter converter(shown);
    converter.options.exeDir = LocalPath(choices.folder) + '/';
    converter.options.outputMode = choices.mode;
    converter.options.animation = choices.animation;
    converter.options.aniRaw = choices.aniRaw;
    converter.options.frameMs = choices.frameMs;
    converter.options.sheetColumns = choices.sheetColumns;
    converter.options.iniFile = settings;
    converter.stopToken = std::move(stop);
    converter.chosenEntries = chosen;
    ExtractOutcome outcome;
    try {
        outcome.stopped = converter.ConvertInput(input) == ConvertResult::Cancelled;
    } catch (const FatalError& error) {
        outcome.error = QString::fromUtf8(error.detailed());
    } catch (const std::bad_alloc&) {
        outcome.error = QString::fromUtf8(FatalError::OutOfMemory().detailed());
    }
    outcome.notes = shown.notes;
    return outcome;
}

Extraction::Extraction(std::shared_ptr<const Input> input, std::shared_ptr<const SettingsFile> settings,
                       ExtractChoices choices, std::vector<bool> chosen, QObject* parent) :
    QObject(parent),
    input_(std::move(input)),
    settings_(std::move(settings)),
    choices_(std::move(choices)),
    chosen_(std::move(chosen))
{ }

Extraction::~Extraction()
{
    // The worker's last signals are queued to this object; they die with it.
    worker_ = {};
}

void Extraction::Start()
{
    worker_ = std::jthread([this](std::stop_token stop) {
        // Progress reaches the thread that started the work as the Progress signal.
        const ExtractProgress progress = [this](int done, int total) {
            QMetaObject::invokeMethod(
                this, [this, done, total] { emit Progress(done, total); }, Qt::QueuedConnection);
        };
        ExtractOutcome outcome = ExtractEntries(*input_, settings_.get(), choices_, chosen_, progress, std::move(stop));
        QMetaObject::invokeMethod(
            this, [this, outcome = std::move(outcome)] { emit Finished(outcome); }, Qt::QueuedConnection);
    });
}

void Extraction::Cancel()
{
    worker_.request_stop();
}

}  // namespace orv::view
