// The check of the folders' include directions, run as `./dev folders` on a
// small source tree of its own.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <sys/wait.h>

#include "TempFolder.h"

using didad::testing::TempFolder;
using didad::testing::WriteFileBytes;

namespace {

struct CheckRun {
    int status = -1;
    std::string output;
};

class FolderDirections : public ::testing::Test {
protected:
    TempFolder temp;

    void SetUp() override {
        const char* dev = std::getenv("DIDAD_DEV");
        if (!dev || !*dev) GTEST_SKIP() << "DIDAD_DEV is not set (ctest sets it)";
        dev_ = dev;
        for (const char* folder : {"model", "runtime", "preview", "editor"})
            std::filesystem::create_directories(temp.path() / "src" / folder);
        Source("model/ProjectModel.h", "#include <string>\n");
        Source("runtime/PageCode.cpp", "#include \"model/ProjectModel.h\"\n");
        Source("editor/Main.h", "#include \"preview/View.h\"\n");
    }

    void Source(const std::string& name, const std::string& text) { WriteFileBytes(temp.File("src/" + name), text); }

    CheckRun Check() const {
        const std::string command = "SRC_DIR='" + temp.str() + "/src' '" + dev_ + "' folders 2>&1";
        CheckRun run;
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) return run;
        std::array<char, 4096> buffer{};
        std::size_t got = 0;
        while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.output.append(buffer.data(), got);
        const int status = pclose(pipe);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return run;
    }

    std::string dev_;
};

} // namespace

TEST_F(FolderDirections, PassesWhenEveryIncludeRunsDownward) {
    Source("preview/View.h", "#include \"runtime/PageCode.h\"\n#include \"nlohmann/json.hpp\"\n");
    const CheckRun run = Check();
    EXPECT_EQ(run.status, 0) << run.output;
}

TEST_F(FolderDirections, NamesEachFileWhoseIncludeRunsUpwardOrSideways) {
    Source("preview/View.h", "#include \"editor/Main.h\"\n");
    Source("model/ProjectModel.cpp", "#include \"model/ProjectModel.h\"\n  #  include \"runtime/PageCode.h\"\n");
    const CheckRun run = Check();
    EXPECT_EQ(run.status, 1);
    const std::string src = temp.str() + "/src/";
    EXPECT_NE(run.output.find(src + "preview/View.h includes editor/Main.h"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find(src + "model/ProjectModel.cpp includes runtime/PageCode.h"), std::string::npos)
        << run.output;
    // Includes that follow the directions are not named.
    EXPECT_EQ(run.output.find("includes model/ProjectModel.h"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("editor/Main.h includes"), std::string::npos) << run.output;
}

TEST_F(FolderDirections, NamesAFolderThatHasNoDirectionsYet) {
    std::filesystem::create_directories(temp.path() / "src" / "extras");
    Source("extras/Extra.cpp", "#include \"model/ProjectModel.h\"\n");
    const CheckRun run = Check();
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("extras/Extra.cpp: extras is not in ./dev's table of folders"), std::string::npos)
        << run.output;
}
