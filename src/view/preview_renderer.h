#pragma once

#include <QObject>
#include <QThreadPool>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "view/preview.h"

namespace orv {
class SettingsFile;
}

namespace orv::view {

// Renders previews off the UI thread, on one worker with a reader of its own, so that the
// window never waits for an entry. Only the latest request counts: one that a newer request
// overtakes is abandoned, and its result never reaches the window.
class PreviewRenderer : public QObject {
    Q_OBJECT

public:
    explicit PreviewRenderer(QObject* parent = nullptr);
    ~PreviewRenderer() override;

    // The input later requests read; settings compose animation frames (none: without).
    void SetInput(std::shared_ptr<const Input> input, std::shared_ptr<const SettingsFile> settings);
    void Request(std::size_t entry);

signals:
    void Ready(const orv::view::Preview& preview);

private:
    // Runs work on the worker, after what was asked before it.
    template <typename Work> void OnWorker(Work work);

    QThreadPool worker_;
    std::atomic<std::uint64_t> latest_{0};
    // Used by the worker alone.
    std::unique_ptr<Reader> reader_;
};

}  // namespace orv::view
