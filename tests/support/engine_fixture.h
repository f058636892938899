#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <stop_token>
#include <string>

#include "engine/convert/converter.h"
#include "tools/pack_writer.h"
#include "recording_view.h"
#include "temp_dir.h"

// A converter whose executable folder is a fresh "exe" folder, with a view that
// records every call, and inputs written to a fresh "in" folder.
class EngineTest : public ::testing::Test {
protected:
    EngineTest() : converter(view)
    {
        std::filesystem::create_directory(exeDir());
        std::filesystem::create_directory(inDir());
        converter.options.exeDir = exeDir().string() + "/";
        converter.stopToken = stop.get_token();
    }

    // A fresh Stop for the converter: nothing asked yet.
    void NewStop()
    {
        stop = std::stop_source();
        converter.stopToken = stop.get_token();
    }

    std::filesystem::path exeDir() const { return dir.path() / "exe"; }
    std::filesystem::path inDir() const { return dir.path() / "in"; }

    // Writes bytes as an input file and makes it the converter's srcPath.
    std::string Input(const std::string& name, const orv::tools::Bytes& bytes)
    {
        const std::string path = (inDir() / name).string();
        EXPECT_TRUE(orv::tools::WriteFileBytes(path, bytes));
        converter.srcPath = path;
        return path;
    }

    TempDir dir;
    RecordingView view;
    orv::Converter converter;
    std::stop_source stop;  // the Stop the converter sees
};
