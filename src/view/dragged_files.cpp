#include "view/dragged_files.h"

#include <QDir>
#include <QMetaObject>
#include <QPointer>
#include <QUrl>

#include "engine/read/input.h"

namespace orv::view {

namespace {

constexpr const char* kUriList = "text/uri-list";

}  // namespace

DraggedFiles::DraggedFiles(std::shared_ptr<const Input> input, std::shared_ptr<const SettingsFile> settings,
                           ExtractChoices choices, std::vector<bool> chosen, QObject* context,
                           std::function<void(const QString&)> failed) :
    folder_(ExtractedFolder(input->path(), choices))
{
    std::promise<ExtractOutcome> outcome;
    outcome_ = outcome.get_future().share();
    QPointer<QObject> receiver(context);
    worker_ = std::jthread([input = std::move(input), settings = std::move(settings), choices = std::move(choices),
                            chosen = std::move(chosen), failed = std::move(failed), receiver,
                            outcome = std::move(outcome)](std::stop_token stop) mutable {
        ExtractOutcome written = ExtractEntries(*input, settings.get(), choices, chosen, {}, std::move(stop));
        if (!written.error.isEmpty() && failed && !receiver.isNull())
            QMetaObject::invokeMethod(
                receiver, [failed, error = written.error] { failed(error); }, Qt::QueuedConnection);
        outcome.set_value(std::move(written));
    });
}

// The worker is asked to stop and joined before anything it writes to goes.
DraggedFiles::~DraggedFiles() = default;

QStringList DraggedFiles::formats() const
{
    return {kUriList};
}

bool DraggedFiles::hasFormat(const QString& mimeType) const
{
    return mimeType == kUriList;
}

QVariant DraggedFiles::retrieveData(const QString& mimeType, QMetaType /*type*/) const
{
    if (mimeType != kUriList) return {};
    const ExtractOutcome& written = outcome_.get();
    if (!written.error.isEmpty() || written.stopped) return {};
    QList<QVariant> urls;
    for (const QFileInfo& file : QDir(folder_).entryInfoList(QDir::Files, QDir::Name))
        urls << QUrl::fromLocalFile(file.absoluteFilePath());
    return urls;
}

}  // namespace orv::view
