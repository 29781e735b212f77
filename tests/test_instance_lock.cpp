// The instance lock file: a file another user put in the shared place first, or a link put there,
// neither blocks the game nor is opened through; a second copy is still refused.
#include "platform/services/instance_lock.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

TEST(InstanceLock, ATrapInTheSharedPlaceNeitherBlocksNorIsOpenedAndASecondCopyIsStillRefused)
{
    TempDir shared, cache;
    const uint32_t uid = getuid();
    const std::string trap = shared.file("game-" + std::to_string(uid) + ".lock");
    const std::string through = shared.file("made-through-the-link.ini");
    for (int asLink : {0, 1}) {
        SCOPED_TRACE(asLink ? "a link to where a file would be made" : "another user's file, locked");
        std::remove(trap.c_str());
        writeFile(trap, "");
        const int foreign = open(trap.c_str(), O_RDONLY);
        ASSERT_EQ(flock(foreign, LOCK_EX), 0);
        if (!asLink && chown(trap.c_str(), uid + 4242, uid + 4242) != 0)
            GTEST_SKIP() << "giving a file to another user takes root";
        if (asLink) {
            std::remove(trap.c_str());
            ASSERT_EQ(symlink(through.c_str(), trap.c_str()), 0);
        }
        const int fd = takeInstanceLock("game", uid, nullptr, shared.path.c_str(), cache.path.c_str());
        ASSERT_GE(fd, 0);
        struct stat got, wanted;
        fstat(fd, &got);
        stat(cache.file("game.lock").c_str(), &wanted);
        EXPECT_EQ(got.st_ino, wanted.st_ino) << "the lock is taken in the player's own folder";
        const int second = takeInstanceLock("game", uid, nullptr, shared.path.c_str(), cache.path.c_str());
        EXPECT_EQ(second, INSTANCE_LOCK_HELD);
        EXPECT_NE(access(through.c_str(), F_OK), 0) << "nothing is made through the link";
        close(fd);
        close(foreign);
    }
}
