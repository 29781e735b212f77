// The instance lock against a file another user put in the shared place first, or a link there.
#include "platform/services/instance_lock.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <sys/file.h>
#include <unistd.h>

TEST(InstanceLock, AFileOfAnotherUserOrALinkInTheSharedPlaceNeitherBlocksNorIsOpened)
{
    TempDir shared, cache;
    const uint32_t uid = getuid();
    const std::string trap = shared.file("game-" + std::to_string(uid) + ".lock");
    const std::string through = shared.file("made-through-the-link");
    writeFile(trap, "");
    const int foreign = open(trap.c_str(), O_RDONLY);
    ASSERT_EQ(flock(foreign, LOCK_EX), 0);
    if (chown(trap.c_str(), uid + 4242, uid + 4242) != 0)
        GTEST_SKIP() << "giving a file to another user takes root";
    const auto take = [&] { return takeInstanceLock("game", uid, nullptr, shared.path.c_str(), cache.path.c_str()); };
    const int first = take();
    EXPECT_GE(first, 0) << "another user's locked file blocks nothing";
    EXPECT_EQ(take(), INSTANCE_LOCK_HELD) << "a second copy is still refused";
    close(first);
    std::remove(trap.c_str());
    ASSERT_EQ(symlink(through.c_str(), trap.c_str()), 0);
    const int second = take();
    EXPECT_GE(second, 0);
    EXPECT_NE(access(through.c_str(), F_OK), 0) << "nothing is made through the link";
    EXPECT_EQ(access(cache.file("game.lock").c_str(), F_OK), 0) << "the lock is in the player's own folder";
    close(second);
    close(foreign);
}
