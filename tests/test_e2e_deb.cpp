// The Debian package as a player meets it: made from the install rules, free of lintian errors,
// installed with apt-get, started to the menu, and purged without leaving a file of its own.
#include "tests/support/desktop.h"
#include "tests/support/menu_screen.h"
#include "tests/support/test_util.h"

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

TEST(DebE2e, ThePackageInstallsStartsToTheMenuAndPurgesLeavingNothing)
{
    SKIP_WITHOUT_DISPLAY();
    const std::string root = runCommand("test \"$(id -u)\" -eq 0").status == 0 ? "" : "sudo -n ";
    if (!root.empty() && runCommand("sudo -n true").status != 0)
        GTEST_SKIP() << "installing a package needs root or sudo without a password";
    TempDir out, dataHome, runtime;
    CommandResult r = runCommand("'" VELBRANT_CPACK "' -G DEB -B '" + out.path + "'", VELBRANT_BIN_DIR);
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    r = runCommand("lintian --fail-on error velbrant_*.deb", out.path);
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    r = runCommand(root + "env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends ./velbrant_*.deb",
                   out.path);
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    const std::string files = runCommand("dpkg -L velbrant").out;

    const std::vector<std::string> env{"XDG_DATA_HOME=" + dataHome.path, "XDG_RUNTIME_DIR=" + runtime.path};
    Spawned game = spawnProgram("/usr/games/velbrant-play", {}, "/", env);
    EXPECT_TRUE(waitForWindow("Velbrant", 20000)) << capturedErr(game);
    EXPECT_TRUE(waitForPicture(screenshotDir() + "/deb-menu.png", 40.0, newGameButtonIn)) << capturedErr(game);
    EXPECT_EQ(endWith(game), 0) << capturedErr(game);

    r = runCommand(root + "env DEBIAN_FRONTEND=noninteractive apt-get purge -y velbrant");
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    // What stays is a folder other packages fill or own (/usr/share/icons/hicolor, /usr/games).
    std::istringstream listed(files);
    for (std::string path; std::getline(listed, path);) {
        std::error_code e;
        const bool shared = fs::is_directory(path, e) &&
                            (!fs::is_empty(path, e) || runCommand("dpkg -S '" + path + "'").status == 0);
        EXPECT_TRUE(shared || !fs::exists(path, e)) << path;
    }
    EXPECT_NE(runCommand("dpkg -s velbrant").status, 0) << "purged";
}
