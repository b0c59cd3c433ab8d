#include "DataFiles.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

using namespace datafiles;
namespace fs = std::filesystem;

namespace {

std::string quoted(const fs::path& p)
{
    return "'" + p.string() + "'";
}

// Files git tracks below data/, relative to it; empty when the tree is not a git checkout.
std::set<std::string> trackedDataFiles()
{
    std::set<std::string> tracked;
    std::string command = "git -C " + quoted(testsupport::sourceDir()) + " ls-files -z data 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return tracked;
    }
    std::string name;
    for (int c; (c = std::fgetc(pipe)) != EOF;) {
        if (c == '\0') {
            tracked.insert(name.substr(5));   // strip "data/"
            name.clear();
        } else {
            name += static_cast<char>(c);
        }
    }
    pclose(pipe);
    return tracked;
}

} // namespace

// Regenerating into a scratch folder gives every committed file back byte for byte, so
// running the generator over data/ leaves the checkout clean.
TEST(Regenerate, GivesTheCommittedDataBackByteForByte)
{
    testsupport::ScratchDir scratch;
    fs::path out = scratch.path() / "data";
    std::string command = quoted(testsupport::sourceDir() / "scripts" / "generate-data.sh") + " " + quoted(out) + " >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    std::set<std::string> tracked = trackedDataFiles();
    bool inGit = fs::exists(testsupport::sourceDir() / ".git");
    size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(out)) {
        if (!entry.is_regular_file()) {
            continue;
        }
        ++files;
        std::string relative = fs::relative(entry.path(), out).generic_string();
        fs::path committed = dataDir() / relative;
        ASSERT_TRUE(fs::exists(committed)) << "data/" << relative << " is generated but missing";
        EXPECT_TRUE(readBytes(entry.path()) == readBytes(committed)) << "data/" << relative << " differs from what the generator writes";
        if (inGit) {
            EXPECT_TRUE(tracked.count(relative)) << "data/" << relative << " is not committed";
        }
    }
    EXPECT_GE(files, 20u);
}

TEST(Regenerate, DataStaysAFewMegabytes)
{
    std::uintmax_t total = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dataDir())) {
        if (entry.is_regular_file()) {
            total += entry.file_size();
        }
    }
    EXPECT_LT(total, 6u * 1024 * 1024);
}

TEST(DataFiles, EveryFileTheGameOpensIsThere)
{
    std::vector<std::string> files = filesTheGameOpens();
    EXPECT_GE(files.size(), 15u);
    for (const std::string& name : files) {
        EXPECT_TRUE(fs::is_regular_file(dataDir() / name)) << "data/" << name;
        EXPECT_GT(fs::exists(dataDir() / name) ? fs::file_size(dataDir() / name) : 0u, 0u) << "data/" << name;
    }
}
