#include "view/preview_renderer.h"

#include <QMetaObject>

#include "settings/settings_file.h"

namespace orv::view {

PreviewRenderer::PreviewRenderer(QObject* parent) : QObject(parent)
{
    worker_.setMaxThreadCount(1);
}

PreviewRenderer::~PreviewRenderer()
{
    ++latest_;
    worker_.waitForDone();
}

template <typename Work> void PreviewRenderer::OnWorker(Work work)
{
    worker_.start(std::function<void()>(std::move(work)));
}

void PreviewRenderer::SetInput(std::shared_ptr<const Input> input, std::shared_ptr<const SettingsFile> settings)
{
    ++latest_;
    OnWorker([this, input = std::move(input), settings = std::move(settings)]() mutable {
        reader_ = std::make_unique<Reader>(std::move(input));
        reader_->SetSettings(std::move(settings));
    });
}

void PreviewRenderer::Request(std::size_t entry)
{
    const std::uint64_t request = ++latest_;
    OnWorker([this, entry, request] {
        const auto overtaken = [this, request] { return latest_.load() != request; };
        if (overtaken() || !reader_ || entry >= reader_->entries().size()) return;
        Preview preview = RenderPreview(*reader_, entry, overtaken);
        if (overtaken()) return;
        QMetaObject::invokeMethod(
            this,
            [this, request, preview = std::move(preview)] {
                if (latest_.load() == request) emit Ready(preview);
            },
            Qt::QueuedConnection);
    });
}

}  // namespace orv::view
