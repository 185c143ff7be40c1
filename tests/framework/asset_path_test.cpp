#include "framework/asset_path.h"
#include "framework/data_folder.h"
#include "support/test_paths.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// root/CMakeLists.txt with build/bin below it, like a build tree under the project.
struct Tree {
    explicit Tree(const std::string& name) : root(makeScratchDir(name)), bin(root + "/build/bin")
    {
        fs::create_directories(bin);
        writeFile(root + "/CMakeLists.txt", "# marker\n");
    }
    std::string root, bin;
};

int readlinkFailure = 0;  // while set, readlink fails with this error number

}  // namespace

// Interposed for this test program: the search's own call reaches this first.
extern "C" ssize_t readlink(const char* path, char* buffer, size_t size) noexcept
{
    using Real = ssize_t (*)(const char*, char*, size_t);
    static const auto real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "readlink"));
    if (readlinkFailure == 0)
        return real(path, buffer, size);
    errno = readlinkFailure;
    return -1;
}

// Every level from the start up to the project root's marker: nearest first,
// directories are no files, and one file reached twice (an absolute path, a
// link) is one candidate.
TEST(AssetSearch, FindsEachFileOnceNearestLevelFirstUpToTheMarker)
{
    const Tree tree("asset_search");
    const std::string nearCopy = tree.bin + "/assets/a.ini", farCopy = tree.root + "/assets/a.ini";
    using Found = std::vector<std::string>;
    fs::create_directories(tree.root + "/assets/folder.ini");
    EXPECT_EQ(searchAssetUpwards(tree.bin, "assets/folder.ini"), Found{});
    writeFile(farCopy, "far");
    EXPECT_EQ(searchAssetUpwards(tree.bin, "assets/a.ini"), Found{farCopy});
    EXPECT_EQ(searchAssetUpwards(tree.bin, farCopy), Found{farCopy});
    fs::create_directories(tree.bin + "/assets");
    fs::create_symlink(farCopy, nearCopy);
    EXPECT_EQ(searchAssetUpwards(tree.bin, "assets/a.ini").size(), 1u);
    fs::remove(nearCopy);
    writeFile(nearCopy, "near");
    EXPECT_EQ(searchAssetUpwards(tree.bin, "assets/a.ini"), (Found{nearCopy, farCopy}));
    writeFile(tree.bin + "/CMakeLists.txt", "# marker\n");
    EXPECT_EQ(searchAssetUpwards(tree.bin, "assets/a.ini"), Found{nearCopy});
}

TEST(AssetSearch, WithoutMarkerEveryLevelUpToTheFileSystemRootIsSearched)
{
    // The scratch tree lies inside the build tree, which lies inside the
    // repository; start from a directory outside any project instead.
    const fs::path top = fs::temp_directory_path() / "glimmerdeep_asset_no_marker";
    fs::remove_all(top);
    fs::create_directories(top / "a/b");
    writeFile((top / "probe.txt").string(), "x");
    const auto found = searchAssetUpwards((top / "a/b").string(), "glimmerdeep_asset_no_marker/probe.txt");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_TRUE(fs::equivalent(found[0], top / "probe.txt"));
    fs::remove_all(top);
}

// The line for an executable path the system will not give names the failed
// call (on standard output, sent to standard error here, where the check
// reads); the exit does not wait on closed input. (The ambiguity's exit is
// the end-to-end start-up run's.)
TEST(AssetSearchDeathTest, AnUnknownExecutablePathNamesTheFailedCall)
{
    EXPECT_EXIT(
        {
            std::freopen("/dev/null", "r", stdin);
            dup2(STDERR_FILENO, STDOUT_FILENO);
            readlinkFailure = EACCES;
            findAssetPath("assets/a.ini");
        },
        testing::ExitedWithCode(1),
        "Error retrieving executable path: readlink\\(\"/proc/self/exe\"\\) failed: Permission denied\n");
}

// The variable's folder, then share beside the executable: the first that
// holds the file wins, and folders that are missing or no folder are passed over.
TEST(DataFolders, TheVariableComesBeforeShareAndTheFirstFolderHoldingTheFileWins)
{
    using Folders = std::vector<std::string>;
    EXPECT_EQ(dataFolders("/d", "/opt/g/bin"), (Folders{"/d", "/opt/g/share/glimmerdeep"}));
    EXPECT_EQ(dataFolders("", "/opt/g/bin"), Folders{"/opt/g/share/glimmerdeep"});
    EXPECT_EQ(dataFolders(nullptr, "/opt/g/bin"), Folders{"/opt/g/share/glimmerdeep"});

    const std::string root = makeScratchDir("data_folders");
    writeFile(root + "/env/settings/a.ini", "env");
    writeFile(root + "/share/settings/a.ini", "share");
    writeFile(root + "/share/settings/b.ini", "share");
    writeFile(root + "/plain_file", "x");
    const Folders folders{root + "/missing", root + "/plain_file", root + "/env", root + "/share"};
    EXPECT_EQ(findInDataFolders(folders, "assets/settings/a.ini"), root + "/env/settings/a.ini");
    EXPECT_EQ(findInDataFolders(folders, "assets/settings/b.ini"), root + "/share/settings/b.ini");
    EXPECT_EQ(findInDataFolders(folders, "assets/settings/c.ini"), "");
}

// The real search starts beside the executable; the variable's folder fills
// in only what that search cannot find.
TEST(DataFolders, TheVariableFillsInOnlyWhatTheSearchCannotFind)
{
    const std::string data = makeScratchDir("data_variable");
    writeFile(data + "/settings/window.ini", "x");
    writeFile(data + "/settings/only_here.ini", "x");
    setenv("GLIMMERDEEP_DATA", data.c_str(), 1);
    EXPECT_EQ(findAssetPath("assets/settings/window.ini"), sourceDir() + "/assets/settings/window.ini");
    EXPECT_EQ(findAssetPath("assets/settings/only_here.ini"), data + "/settings/only_here.ini");
    EXPECT_EQ(findAssetPath("assets/settings/none.ini"), "");
    unsetenv("GLIMMERDEEP_DATA");
}
