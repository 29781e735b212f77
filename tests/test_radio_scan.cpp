// The folder search the radio scans with.
#include "platform/services/dirscan.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using Names = std::vector<std::string>;

TEST(FolderSearch, FindsRegularFilesBySuffixInAnyCaseSortedByteWise)
{
    TempDir dir;
    for (const char* name : {"b.mp3", "B.mp3", "a.MP3", "_x.Mp3", "a.mp", "mp3", "x.mp3 ", "y.wav"})
        writeFile(dir.file(name), "x");
    EXPECT_EQ(findFilesBySuffix(dir.path, ".mp3"), Names({"B.mp3", "_x.Mp3", "a.MP3", "b.mp3"}));
    EXPECT_EQ(findFilesBySuffix(dir.path + "/", ".MP3"), Names({"B.mp3", "_x.Mp3", "a.MP3", "b.mp3"}));
}

TEST(FolderSearch, FoldersAndBrokenLinksAreNoFilesButLinksToFilesAre)
{
    TempDir dir;
    writeFile(dir.file("real.mp3"), "x");
    writeFile(dir.file("folder.mp3/inside.mp3"), "x");
    ASSERT_EQ(symlink(dir.file("real.mp3").c_str(), dir.file("link.mp3").c_str()), 0);
    ASSERT_EQ(symlink(dir.file("gone.mp3").c_str(), dir.file("broken.mp3").c_str()), 0);
    EXPECT_EQ(findFilesBySuffix(dir.path, ".mp3"), Names({"link.mp3", "real.mp3"}));
}

TEST(FolderSearch, AMissingFolderOrAFileGivesNothing)
{
    TempDir dir;
    writeFile(dir.file("f.mp3"), "x");
    EXPECT_TRUE(findFilesBySuffix(dir.file("nowhere"), ".mp3").empty());
    EXPECT_TRUE(findFilesBySuffix(dir.file("f.mp3"), ".mp3").empty());
}

TEST(FolderSearch, AnEmptyFolderTextIsTheWorkingDirectory)
{
    TempDir dir;
    writeFile(dir.file("here.mp3"), "x");
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(chdir(dir.path.c_str()), 0);
    const Names found = findFilesBySuffix("", ".mp3");
    ASSERT_EQ(chdir(cwd), 0);
    EXPECT_EQ(found, Names({"here.mp3"}));
}

} // namespace
