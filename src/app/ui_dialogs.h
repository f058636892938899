#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>

#include "app/warning_sound.h"

class QFileDialog;

namespace orv::app {

// Everything the window shows modally or asks of the system, behind one seam so
// that tests can answer the dialogs and see the messages.
class UiDialogs {
public:
    virtual ~UiDialogs() = default;

    // The chosen files as full paths, in the dialog's order; none when cancelled.
    virtual std::optional<QStringList> ChooseFiles(QFileDialog& dialog) = 0;
    // A message window with one OK button and no icon, showing text as plain text. With
    // autoClose it closes by itself as soon as it has appeared.
    virtual void ShowMessage(const QString& title, const QString& text, bool autoClose) = 0;
    // The error display: a stop icon, one OK button and the text as plain text.
    virtual void ShowError(const QString& title, const QString& text) = 0;
    // A warning: the warning icon, one OK button and the text as plain text.
    virtual void ShowWarning(const QString& title, const QString& text) = 0;
    // The exclamation sound at the end of a batch.
    virtual void Beep() = 0;
    // Ends the process at once (after a fatal error).
    virtual void EndProcess(int exitCode) = 0;
};

// The real dialogs of the toolkit. Message windows belong to the owner window, once there
// is one: centred on it, without a taskbar entry of their own, in its font.
class QtDialogs : public UiDialogs {
public:
    void SetOwner(QWidget* owner) { owner_ = owner; }

    std::optional<QStringList> ChooseFiles(QFileDialog& dialog) override;
    void ShowMessage(const QString& title, const QString& text, bool autoClose) override;
    void ShowError(const QString& title, const QString& text) override;
    void ShowWarning(const QString& title, const QString& text) override;
    void Beep() override;
    [[noreturn]] void EndProcess(int exitCode) override;

private:
    void Show(QMessageBox::Icon icon, const QString& title, const QString& text, bool autoClose);

    QPointer<QWidget> owner_;
    WarningSound warningSound_;
};

}  // namespace orv::app
