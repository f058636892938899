#pragma once

#include <QObject>
#include <QStringList>
#include <memory>
#include <optional>
#include <string>

#include "temp_dir.h"
#include "tools/pack_writer.h"

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

// What the viewer's test programs share: a fresh folder for each test (made by init()
// in the program), the dialogs, and files written into the folder.
class ViewerFixture : public QObject {
protected:
    std::unique_ptr<TempDir> dir;
    FakeDialogs dialogs;

    std::string Write(const std::string& name, const orv::tools::Bytes& bytes)
    {
        const std::string path = (dir->path() / name).string();
        orv::tools::WriteFileBytes(path, bytes);
        return path;
    }
};
