#include "framework/asset_path.h"
#include "framework/data_folder.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// root/CMakeLists.txt with build/bin below it, like a build tree under the project.
struct Tree {
    std::string root;
    std::string bin;
};

Tree makeTree(const std::string& name, bool withMarker = true)
{
    Tree tree;
    tree.root = makeScratchDir(name);
    tree.bin = tree.root + "/build/bin";
    fs::create_directories(tree.bin);
    if (withMarker)
        writeFile(tree.root + "/CMakeLists.txt", "# marker\n");
    return tree;
}

}  // namespace

TEST(AssetSearch, FindsTheRootCopyTwoLevelsAboveTheStart)
{
    const Tree tree = makeTree("asset_root_copy");
    writeFile(tree.root + "/assets/a.ini", "x");
    const auto found = searchAssetUpwards(tree.bin, "assets/a.ini");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0], tree.root + "/assets/a.ini");
}

TEST(AssetSearch, NothingFoundGivesNoCandidates)
{
    const Tree tree = makeTree("asset_none");
    EXPECT_TRUE(searchAssetUpwards(tree.bin, "assets/missing.ini").empty());
    std::vector<std::string> candidates;
    EXPECT_EQ(collectCandidates(tree.bin, "assets/missing.ini", candidates), "");
}

TEST(AssetSearch, NearestLevelIsListedFirst)
{
    const Tree tree = makeTree("asset_two_levels");
    writeFile(tree.bin + "/assets/a.ini", "near");
    writeFile(tree.root + "/assets/a.ini", "far");
    const auto found = searchAssetUpwards(tree.bin, "assets/a.ini");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0], tree.bin + "/assets/a.ini");
    EXPECT_EQ(found[1], tree.root + "/assets/a.ini");
}

TEST(AssetSearch, MarkerBesideTheStartStopsTheSearchThere)
{
    const Tree tree = makeTree("asset_marker_here");
    writeFile(tree.bin + "/CMakeLists.txt", "# marker\n");
    writeFile(tree.root + "/assets/a.ini", "x");
    EXPECT_TRUE(searchAssetUpwards(tree.bin, "assets/a.ini").empty());
    writeFile(tree.bin + "/assets/a.ini", "x");
    EXPECT_EQ(searchAssetUpwards(tree.bin, "assets/a.ini").size(), 1u);
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

TEST(AssetSearch, DirectoriesDoNotCountAsFiles)
{
    const Tree tree = makeTree("asset_directory");
    fs::create_directories(tree.root + "/assets/a.ini");
    EXPECT_TRUE(searchAssetUpwards(tree.bin, "assets/a.ini").empty());
}

TEST(AssetSearch, OneFileReachedFromSeveralLevelsIsOneCandidate)
{
    const Tree tree = makeTree("asset_absolute");
    const std::string absolute = tree.root + "/x.txt";
    writeFile(absolute, "x");
    EXPECT_EQ(searchAssetUpwards(tree.bin, absolute), std::vector<std::string>{absolute});

    // A link beside the executable to the root's copy is that same file.
    writeFile(tree.root + "/assets/a.ini", "x");
    fs::create_directories(tree.bin + "/assets");
    fs::create_symlink(tree.root + "/assets/a.ini", tree.bin + "/assets/a.ini");
    EXPECT_EQ(searchAssetUpwards(tree.bin, "assets/a.ini").size(), 1u);
}

TEST(AssetSearch, AmbiguityReportListsEveryCandidate)
{
    const auto lines = ambiguityReport("assets/a.ini", {"/p/build/assets/a.ini", "/p/assets/a.ini"});
    const std::vector<std::string> expected{
        "Ambiguous asset file path: 'assets/a.ini'",
        "Found this path at multiple locations. Don't know which one shall be used. Candidates are:",
        "  - /p/build/assets/a.ini",
        "  - /p/assets/a.ini",
        "Remove all duplicates to fix this!"};
    EXPECT_EQ(lines, expected);
}

TEST(AssetSearchDeathTest, AmbiguousPathEndsTheProcessWithoutWaitingOnClosedInput)
{
    const Tree tree = makeTree("asset_ambiguous");
    writeFile(tree.bin + "/assets/a.ini", "near");
    writeFile(tree.root + "/assets/a.ini", "far");
    EXPECT_EXIT(
        {
            std::freopen("/dev/null", "r", stdin);
            std::vector<std::string> candidates;
            collectCandidates(tree.bin, "assets/a.ini", candidates);
        },
        testing::ExitedWithCode(1), "");
}

TEST(DataFolders, TheVariableComesBeforeShareBesideTheExecutable)
{
    using Folders = std::vector<std::string>;
    EXPECT_EQ(dataFolders("/d", "/opt/g/bin"), (Folders{"/d", "/opt/g/share/glimmerdeep"}));
    EXPECT_EQ(dataFolders("", "/opt/g/bin"), Folders{"/opt/g/share/glimmerdeep"});
    EXPECT_EQ(dataFolders(nullptr, "/opt/g/bin"), Folders{"/opt/g/share/glimmerdeep"});
}

TEST(DataFolders, FirstFolderHoldingTheFileWinsAndBadFoldersArePassedOver)
{
    const std::string root = makeScratchDir("data_folders");
    writeFile(root + "/env/settings/a.ini", "env");
    writeFile(root + "/share/settings/a.ini", "share");
    writeFile(root + "/share/settings/b.ini", "share");
    writeFile(root + "/plain_file", "x");
    const std::vector<std::string> folders{root + "/missing", root + "/plain_file", root + "/env", root + "/share"};
    EXPECT_EQ(findInDataFolders(folders, "assets/settings/a.ini"), root + "/env/settings/a.ini");
    EXPECT_EQ(findInDataFolders(folders, "assets/settings/b.ini"), root + "/share/settings/b.ini");
    EXPECT_EQ(findInDataFolders(folders, "assets/settings/c.ini"), "");
}

TEST(AssetSearch, TheRealSearchStartsBesideTheExecutable)
{
    EXPECT_EQ(findAssetPath("assets/settings/window.ini"), sourceDir() + "/assets/settings/window.ini");
    EXPECT_EQ(findAssetPath("assets/settings/none.ini"), "");
}

TEST(DataFolders, TheVariableFillsInOnlyWhatTheSearchCannotFind)
{
    const std::string data = makeScratchDir("data_variable");
    writeFile(data + "/settings/window.ini", "x");
    writeFile(data + "/settings/only_here.ini", "x");
    setenv("GLIMMERDEEP_DATA", data.c_str(), 1);
    EXPECT_EQ(findAssetPath("assets/settings/window.ini"), sourceDir() + "/assets/settings/window.ini");
    EXPECT_EQ(findAssetPath("assets/settings/only_here.ini"), data + "/settings/only_here.ini");
    unsetenv("GLIMMERDEEP_DATA");
}
