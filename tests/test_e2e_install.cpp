// The installed game passes the desktop validators; its launcher plays from a per-user folder, writes
// nothing into the prefix and keeps the player's options.
#include "tests/support/desktop.h"
#include "tests/support/menu_screen.h"
#include "tests/support/test_util.h"

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// Every entry under root with its kind, size and time: any write shows as a change.
std::string listing(const std::string& root)
{
    std::string out;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(root)) {
        out += e.path().string() + (e.is_symlink() ? " link" : e.is_directory() ? " dir" : " file");
        if (e.is_regular_file())
            out += " " + std::to_string(e.file_size());
        out += " " + std::to_string(e.last_write_time().time_since_epoch().count()) + "\n";
    }
    return out;
}

} // namespace

TEST(InstallE2e, TheLauncherPlaysFromThePlayersFolderAndLeavesTheInstalledTreeAlone)
{
    SKIP_WITHOUT_DISPLAY();
    TempDir prefix, dataHome, runtime;
    CommandResult r =
        runCommand("'" VELBRANT_CMAKE "' --install '" VELBRANT_BIN_DIR "' --prefix '" + prefix.path + "'");
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    const std::string shared = prefix.path + "/share/velbrant";
    for (const char* check : {"for p in velbrant velbrant-data velbrant-sim velbrant-check velbrant-play; do "
                              "test -x bin/$p || exit 1; done",
                              "desktop-file-validate share/applications/*.desktop",
                              "appstreamcli validate --no-net share/metainfo/*.xml",
                              "appstreamcli validate-tree --no-net ."}) {
        r = runCommand(check, prefix.path);
        EXPECT_EQ(r.status, 0) << check << "\n" << r.out << r.err;
    }
    // Each icon a PNG of its folder's size with alpha and a picture (counting colours decodes it all).
    r = runCommand("identify -format '%d %wx%h:%A %k\\n' share/icons/hicolor/*/apps/*.png", prefix.path);
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream icons(r.out);
    std::string where, picture;
    for (int colours; icons >> where >> picture >> colours;) {
        EXPECT_EQ(picture, fs::path(where).parent_path().filename().string() + ":True") << where;
        EXPECT_GT(colours, 8) << where;
    }
    const std::string icon = dataHome.file("icon.png");  // the generator draws the same bytes again
    ASSERT_EQ(runCommand("'" + builtProgram("velbrant-data") + "' --icon 64 '" + icon + "'").status, 0);
    EXPECT_EQ(readFile(icon),
              readFile(prefix.path + "/share/icons/hicolor/64x64/apps/org.velbrant.Velbrant.png"));

    const std::string before = listing(prefix.path), folder = dataHome.path + "/velbrant";
    const std::vector<std::string> env{"XDG_DATA_HOME=" + dataHome.path, "XDG_RUNTIME_DIR=" + runtime.path};
    Spawned game = spawnProgram(prefix.path + "/bin/velbrant-play", {}, "/", env);
    ASSERT_TRUE(waitForWindow("Velbrant", 20000)) << capturedErr(game);
    EXPECT_TRUE(waitForPicture(screenshotDir() + "/install-menu.png", 40.0, newGameButtonIn))
        << capturedErr(game);
    EXPECT_EQ(endWith(game), 0) << capturedErr(game);
    EXPECT_EQ(listing(prefix.path), before);
    EXPECT_EQ(fs::read_symlink(folder + "/Dane"), fs::path(shared + "/Dane"));
    EXPECT_EQ(readFile(folder + "/Opcje.ini"), readFile(shared + "/Opcje.ini"));

    const std::string mine = readFile(folder + "/Opcje.ini") + "Joystick=0\r\n";
    writeFile(folder + "/Opcje.ini", mine);
    game = spawnProgram(prefix.path + "/bin/velbrant-play", {}, "/", env);
    ASSERT_TRUE(waitForWindow("Velbrant", 20000)) << capturedErr(game);
    EXPECT_EQ(endWith(game), 0) << capturedErr(game);
    EXPECT_EQ(readFile(folder + "/Opcje.ini"), mine);
    EXPECT_EQ(listing(prefix.path), before);
}

// --tree plays a tree of the player's choosing where it lies: a tree without the mission file
// stops the game on that file, so the game read that tree and not the player's folder.
TEST(InstallE2e, TheLauncherPlaysATreeOfThePlayersChoosing)
{
    SKIP_WITHOUT_DISPLAY();
    TempDir prefix, dataHome, runtime, tree;
    ASSERT_EQ(runCommand("'" VELBRANT_CMAKE "' --install '" VELBRANT_BIN_DIR "' --prefix '" + prefix.path + "'").status, 0);
    ASSERT_EQ(runCommand("cp -r '" + generatedTree() + "/.' '" + tree.path + "/'").status, 0);
    fs::remove(tree.file("Dane/Rozklady/128/Parametry.misji"));
    const std::string play = "XDG_DATA_HOME='" + dataHome.path + "' '" + prefix.path + "/bin/velbrant-play' --tree ";
    const CommandResult none = runCommand(play + "'" + prefix.path + "'");
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("holds no data tree"), std::string::npos) << none.err;
    EXPECT_EQ(runCommand(play).status, 2);
    const std::vector<std::string> env{"XDG_DATA_HOME=" + dataHome.path, "XDG_RUNTIME_DIR=" + runtime.path};
    Spawned game = spawnProgram(prefix.path + "/bin/velbrant-play", {"--tree", tree.path, "V"}, "/", env);
    EXPECT_NE(waitForExit(game, 60000), 0);
    EXPECT_NE(capturedErr(game).find("Dane/Rozklady/128/Parametry.misji"), std::string::npos) << capturedErr(game);
    EXPECT_FALSE(fs::exists(dataHome.path + "/velbrant")) << "the player's folder is not made";
}
