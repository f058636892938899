#pragma once

#include <QMimeData>
#include <functional>
#include <future>
#include <memory>
#include <thread>
#include <vector>

#include "view/extraction.h"

namespace orv::view {

// Entries dragged out: the files orvconv-cli writes for them, written on a thread of its
// own from the moment the drag starts, so that the window never waits for a conversion
// to begin one. Their URLs are given when a drop asks for them, once the files are all
// there. Destroying it stops the work after the entry under way and waits for it.
class DraggedFiles : public QMimeData {
    Q_OBJECT

public:
    // failed is told, on the thread of context while context lives, what stopped the work.
    DraggedFiles(std::shared_ptr<const Input> input, std::shared_ptr<const SettingsFile> settings,
                 ExtractChoices choices, std::vector<bool> chosen, QObject* context,
                 std::function<void(const QString&)> failed);
    ~DraggedFiles() override;

    QStringList formats() const override;
    bool hasFormat(const QString& mimeType) const override;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    QString folder_;
    std::shared_future<ExtractOutcome> outcome_;
    std::jthread worker_;
};

}  // namespace orv::view
