#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace orv::view {

struct ExtractChoices;
struct ExtractScope;

// What the viewer asks the user and tells them in windows of its own, behind one seam so
// that tests can answer and see it.
class ViewerDialogs {
public:
    virtual ~ViewerDialogs() = default;
    // An archive or animation file to open; none when cancelled.
    virtual std::optional<QString> ChooseInput(QWidget* owner) = 0;
    // A settings file; none when cancelled.
    virtual std::optional<QString> ChooseSettings(QWidget* owner, const QString& folder) = 0;
    // Where to save a PNG picture; none when cancelled.
    virtual std::optional<QString> ChooseSavePng(QWidget* owner, const QString& suggested) = 0;
    // Where and as what to write the entries of scope taken out; choices holds the defaults
    // and gets the answer. False when cancelled.
    virtual bool ChooseExtraction(QWidget* owner, const QString& title, const ExtractScope& scope,
                                  ExtractChoices& choices)
        = 0;
    virtual void ShowError(QWidget* owner, const QString& text) = 0;
    virtual void ShowMessage(QWidget* owner, const QString& text) = 0;
};

// The toolkit's own dialogs.
class QtViewerDialogs : public ViewerDialogs {
public:
    std::optional<QString> ChooseInput(QWidget* owner) override;
    std::optional<QString> ChooseSettings(QWidget* owner, const QString& folder) override;
    std::optional<QString> ChooseSavePng(QWidget* owner, const QString& suggested) override;
    bool ChooseExtraction(QWidget* owner, const QString& title, const ExtractScope& scope,
                          ExtractChoices& choices) override;
    void ShowError(QWidget* owner, const QString& text) override;
    void ShowMessage(QWidget* owner, const QString& text) override;
};

}  // namespace orv::view
