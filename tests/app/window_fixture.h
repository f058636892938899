#pragma once

#include <QLabel>
#include <QStringList>
#include <QtTest>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tools/pack_writer.h"
#include "temp_dir.h"
#include "app/tform1.h"
#include "app/ui_dialogs.h"
#include "engine/base/executable_path.h"

// Answers the file dialog from a script and records every message, error, beep and
// requested process end, in order.
class FakeDialogs : public orv::app::UiDialogs {
public:
    std::deque<std::optional<QStringList>> nextFiles;
    std::function<void(QFileDialog&)> onChoose;
    std::function<void()> onMessage;
    QStringList events;
    QStringList messageTitles;
    std::vector<bool> autoClosed;
    int chooseCalls = 0;
    std::optional<int> exitCode;

    void setNextFiles(std::optional<QStringList> files) { nextFiles.push_back(std::move(files)); }

    std::optional<QStringList> ChooseFiles(QFileDialog& dialog) override
    {
        ++chooseCalls;
        if (onChoose) onChoose(dialog);
        auto files = nextFiles.front();
        nextFiles.pop_front();
        return files;
    }
    void ShowMessage(const QString& title, const QString& text, bool autoClose) override
    {
        if (onMessage) onMessage();
        events << "message " + text;
        messageTitles << title;
        autoClosed.push_back(autoClose);
    }
    void ShowError(const QString& title, const QString& text) override
    {
        events << "error " + text;
        messageTitles << title;
    }
    void ShowWarning(const QString& title, const QString& text) override
    {
        events << "warning " + text;
        messageTitles << title;
    }
    void Beep() override { events << "beep"; }
    void EndProcess(int code) override { exitCode = code; }
};

// The window with a look into every pump of events, where a batch lets the user in.
class ObservedWindow : public orv::app::TForm1 {
public:
    using TForm1::TForm1;

    std::function<void()> onPump;

    void PumpEvents() override
    {
        if (onPump) onPump();
        TForm1::PumpEvents();
    }
};

// A fresh folder per test: exe/ stands for the executable's folder, in/ holds inputs.
class WindowFixture {
public:
    FakeDialogs dialogs;

    WindowFixture()
    {
        std::filesystem::create_directory(exeDir());
        // The executable's folder is a portable setup, as the build tree is.
        orv::tools::WriteFileBytes((exeDir() / orv::kPortableMarker).string(), {});
        std::filesystem::create_directory(dir_.path() / "in");
    }

    std::filesystem::path exeDir() const { return dir_.path() / "exe"; }
    std::filesystem::path inputDir() const { return dir_.path() / "in"; }

    std::unique_ptr<ObservedWindow> MakeWindow()
    {
        return std::make_unique<ObservedWindow>(dialogs, (exeDir() / "Orvconv.bin").string());
    }

    // Writes an input file (name may be any bytes, "/" makes folders) and returns its full path.
    std::string InputPath(const std::string& name, const orv::tools::Bytes& bytes) const
    {
        const std::filesystem::path path = inputDir() / name;
        std::filesystem::create_directories(path.parent_path());
        orv::tools::WriteFileBytes(path.string(), bytes);
        return path.string();
    }
    QString Input(const std::string& name, const orv::tools::Bytes& bytes) const
    {
        return QString::fromStdString(InputPath(name, bytes));
    }

private:
    TempDir dir_;
};

template <typename T> T* Find(QWidget& window, const char* name)
{
    T* widget = window.findChild<T*>(name);
    if (widget == nullptr) qFatal("no control named %s", name);
    return widget;
}

inline QString TextOf(QWidget& window, const char* name)
{
    return Find<QLabel>(window, name)->text();
}

inline orv::tools::Bytes SmallArchive(int entries = 2)
{
    std::vector<orv::tools::PackItem> items;
    for (int i = 0; i < entries; ++i) items.push_back({"e" + std::to_string(i) + ".txt", orv::tools::BytesOf("entry")});
    return orv::tools::BuildPack(items);
}
