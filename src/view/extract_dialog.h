#pragma once

#include <QDialog>

#include "view/extraction.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace orv::view {

// Where and as what entries are taken out: the folder, and the choices orvconv-cli
// offers as -f, --animation, --ani-raw, --frame-ms and --sheet-columns.
class ExtractDialog : public QDialog {
    Q_OBJECT

public:
    ExtractDialog(const ExtractChoices& choices, const QString& title, const ExtractScope& scope,
                  QWidget* parent = nullptr);
    ExtractChoices choices() const;

private:
    // Shows the folder that will be written; enables the choices that apply to the scope.
    void Update();

    // The engine's choices (OutputModeNames, AnimationOutputNames) in the viewer's words.
    static QString Text(OutputMode mode);
    static QString Text(AnimationOutput output);

    ExtractScope scope_;
    QLineEdit* folder_ = nullptr;
    QLabel* written_ = nullptr;
    QComboBox* format_ = nullptr;
    QComboBox* animation_ = nullptr;
    QCheckBox* aniRaw_ = nullptr;
    QSpinBox* frameMs_ = nullptr;
    QSpinBox* sheetColumns_ = nullptr;
};

}  // namespace orv::view
