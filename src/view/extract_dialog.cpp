#include "view/extract_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace orv::view {

QString ExtractDialog::Text(OutputMode mode)
{
    switch (mode) {
    case AllBmp: return tr("BMP");
    case AllPng: return tr("PNG");
    case AlphaPng: break;
    }
    return tr("PNG only for pictures with alpha, else BMP");
}

QString ExtractDialog::Text(AnimationOutput output)
{
    switch (output) {
    case AnimationOutput::Frames: break;
    case AnimationOutput::Webp: return tr("animated WebP");
    case AnimationOutput::Gif: return tr("looping GIF");
    case AnimationOutput::Sheet: return tr("sprite sheet (PNG and JSON)");
    }
    return tr("numbered frames");
}

ExtractDialog::ExtractDialog(const ExtractChoices& choices, const QString& title, const ExtractScope& scope,
                             QWidget* parent) :
    QDialog(parent), scope_(scope)
{
    setWindowTitle(title);
    auto* form = new QFormLayout(this);

    auto* folderRow = new QHBoxLayout;
    folder_ = new QLineEdit(choices.folder, this);
    folder_->setObjectName("extractFolder");
    folder_->setMinimumWidth(40 * fontMetrics().horizontalAdvance('0'));
    auto* browse = new QPushButton(tr("Browse…"), this);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString chosen = QFileDialog::getExistingDirectory(this, tr("Folder"), folder_->text());
        if (!chosen.isEmpty()) folder_->setText(chosen);
    });
    folderRow->addWidget(folder_);
    folderRow->addWidget(browse);
    form->addRow(tr("Into folder:"), folderRow);
    written_ = new QLabel(this);
    written_->setObjectName("extractWritten");
    written_->setTextFormat(Qt::PlainText);
    written_->setWordWrap(true);
    form->addRow(written_);

    format_ = new QComboBox(this);
    format_->setObjectName("extractFormat");
    for (const auto& [name, mode] : OutputModeNames()) format_->addItem(Text(mode), mode);
    format_->setCurrentIndex(format_->findData(choices.mode));
    form->addRow(tr("Pictures as:"), format_);

    animation_ = new QComboBox(this);
    animation_->setObjectName("extractAnimation");
    for (const auto& [name, output] : AnimationOutputNames())
        animation_->addItem(Text(output), static_cast<int>(output));
    animation_->setCurrentIndex(animation_->findData(static_cast<int>(choices.animation)));
    form->addRow(tr("Animations as:"), animation_);

    aniRaw_ = new QCheckBox(tr("Keep animation entries of archives as raw .ani files"), this);
    aniRaw_->setObjectName("extractAniRaw");
    aniRaw_->setChecked(choices.aniRaw);
    form->addRow(aniRaw_);

    frameMs_ = new QSpinBox(this);
    frameMs_->setObjectName("extractFrameMs");
    frameMs_->setRange(1, 655350);
    frameMs_->setValue(choices.frameMs);
    frameMs_->setSuffix(tr(" ms a frame"));
    form->addRow(tr("WebP and GIF speed:"), frameMs_);

    sheetColumns_ = new QSpinBox(this);
    sheetColumns_->setObjectName("extractSheetColumns");
    sheetColumns_->setRange(0, 65535);
    sheetColumns_->setSpecialValueText(tr("as many as frames, at most 16"));
    sheetColumns_->setValue(choices.sheetColumns);
    form->addRow(tr("Sheet columns:"), sheetColumns_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // A folder must be named before anything can be written.
    auto enableOk
        = [this, buttons] { buttons->button(QDialogButtonBox::Ok)->setEnabled(!folder_->text().trimmed().isEmpty()); };
    connect(folder_, &QLineEdit::textChanged, this, enableOk);
    enableOk();
    form->addRow(buttons);
    connect(folder_, &QLineEdit::textChanged, this, &ExtractDialog::Update);
    connect(animation_, &QComboBox::currentIndexChanged, this, &ExtractDialog::Update);
    connect(aniRaw_, &QCheckBox::toggled, this, &ExtractDialog::Update);
    Update();
}

void ExtractDialog::Update()
{
    const ExtractChoices chosen = choices();
    written_->setText(chosen.folder.isEmpty() ? QString()
                                              : tr("Writes into %1/").arg(ExtractedFolder(scope_.input, chosen)));
    aniRaw_->setEnabled(scope_.archive && scope_.animations);
    // Animation entries of archives kept raw are not decoded; an animation file always is.
    const bool decoded = scope_.animations && !(scope_.archive && chosen.aniRaw);
    animation_->setEnabled(decoded);
    frameMs_->setEnabled(decoded
                         && (chosen.animation == AnimationOutput::Webp || chosen.animation == AnimationOutput::Gif));
    sheetColumns_->setEnabled(decoded && chosen.animation == AnimationOutput::Sheet);
    format_->setEnabled(scope_.pictures || (decoded && chosen.animation == AnimationOutput::Frames));
}

ExtractChoices ExtractDialog::choices() const
{
    ExtractChoices choices;
    choices.folder = folder_->text().trimmed();
    choices.mode = static_cast<OutputMode>(format_->currentData().toInt());
    choices.animation = static_cast<AnimationOutput>(animation_->currentData().toInt());
    choices.aniRaw = aniRaw_->isChecked();
    choices.frameMs = frameMs_->value();
    choices.sheetColumns = sheetColumns_->value();
    return choices;
}

}  // namespace orv::view
