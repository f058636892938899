#pragma once

#include <QStringList>
#include <optional>

#include "view/extraction.h"
#include "view/viewer_dialogs.h"

// The viewer's dialogs answered by the test, with what they were told kept.
class FakeDialogs : public orv::view::ViewerDialogs {
public:
    QStringList errors;
    QStringList messages;
    std::optional<QString> savePng;
    QString suggested;
    // The answer to the extraction dialog; none: cancelled.
    std::optional<orv::view::ExtractChoices> extraction;
    QString extractionTitle;

    std::optional<QString> ChooseInput(QWidget*) override { return std::nullopt; }
    std::optional<QString> ChooseSettings(QWidget*, const QString&) override { return std::nullopt; }
    std::optional<QString> ChooseSavePng(QWidget*, const QString& name) override
    {
        suggested = name;
        return savePng;
    }
    bool ChooseExtraction(QWidget*, const QString& title, orv::view::ExtractChoices& choices) override
    {
        extractionTitle = title;
        if (extraction) choices = *extraction;
        return extraction.has_value();
    }
    void ShowError(QWidget*, const QString& text) override { errors << text; }
    void ShowMessage(QWidget*, const QString& text) override { messages << text; }
};
