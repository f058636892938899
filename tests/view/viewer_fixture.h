#pragma once

#include <QImage>
#include <QObject>
#include <QSignalSpy>
#include <QStringList>
#include <QTableView>
#include <QtTest>
#include <memory>
#include <filesystem>
#include <optional>
#include <stop_token>
#include <string>

#include "engine/base/fatal_error.h"
#include "engine/convert/converter.h"
#include "temp_dir.h"
#include "tools/pack_writer.h"

#include "view/entry_filter.h"
#include "view/entry_model.h"
#include "view/extraction.h"
#include "view/viewer_dialogs.h"
#include "view/viewer_window.h"

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
    // The folder the settings dialog was opened in, and its answer.
    QString settingsFolder;
    std::optional<QString> settings;
    std::optional<QString> ChooseSettings(QWidget*, const QString& folder) override
    {
        settingsFolder = folder;
        return settings;
    }
    std::optional<QString> ChooseSavePng(QWidget*, const QString& name) override
    {
        suggested = name;
        return savePng;
    }
    bool ChooseExtraction(QWidget*, const QString& title, const orv::view::ExtractScope&,
                          orv::view::ExtractChoices& choices) override
    {
        extractionTitle = title;
        if (extraction) choices = *extraction;
        return extraction.has_value();
    }
    void ShowError(QWidget*, const QString& text) override { errors << text; }
    void ShowMessage(QWidget*, const QString& text) override { messages << text; }
};

// What conversion writes for an input, into folder/: the files as orvconv-cli writes them.
inline void Convert(const std::string& input, const std::string& folder, const orv::SettingsFile* settings)
{
    orv::SilentStatusView view;
    orv::Converter converter(view);
    std::stop_source stop;
    converter.stopToken = stop.get_token();
    converter.options.exeDir = folder;
    converter.options.iniFile = settings;
    converter.srcPath = input;
    try {
        converter.ConvertInputFile();
    } catch (const orv::FatalError&) {
        // What was written up to the failure is compared; the rest is not there.
    }
}

// The picture conversion wrote, as QImage reads it; null when there is none.
inline QImage Written(const std::filesystem::path& file)
{
    QImage image(QString::fromStdString(file.string()));
    return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB888);
}

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

    // Makes source row current in the window's list and waits for its preview.
    static void Select(orv::view::ViewerWindow& window, int row)
    {
        auto* list = window.findChild<QTableView*>("entryList");
        auto* filter = static_cast<orv::view::EntryFilter*>(list->model());
        QSignalSpy shown(&window, &orv::view::ViewerWindow::PreviewShown);
        list->setCurrentIndex(filter->mapFromSource(window.model().index(row, 0)));
        QVERIFY(shown.wait(20000));
        QCOMPARE(window.preview().entry, static_cast<std::size_t>(row));
    }
};
