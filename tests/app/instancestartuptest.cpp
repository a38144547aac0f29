#include "app/instancestartup.h"

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

TEST(InstanceStartup, RolesAndFallbackWhenTheRunningInstanceDoesNotAnswer)
{
    const QStringList pictures = { "/p/1.jpg", "/p/2.jpg" };
    {
        InstanceStartup alone(QStringLiteral("startup-alone"));
        EXPECT_EQ(alone.claim(parseCommandLine(pictures, "/"), 300),
            InstanceStartup::Role::FirstInstance);
        EXPECT_EQ(alone.filesToAddHere(), pictures);
        EXPECT_TRUE(alone.receiveHandovers(nullptr)) << qPrintable(alone.errorString());
    }

    // Another process holds the lock but never listens (hung, or still starting up).
    InstanceLock other(QStringLiteral("startup-hung"));
    ASSERT_TRUE(other.tryLock());
    InstanceStartup album(QStringLiteral("startup-hung"));
    EXPECT_EQ(album.claim(parseCommandLine({ "/a/t.gmx", "/p/1.jpg" }, "/"), 300),
        InstanceStartup::Role::SecondInstance);
    EXPECT_FALSE(album.receiveHandovers(nullptr));

    // The files are not lost: this start keeps them and says why.
    InstanceStartup handOver(QStringLiteral("startup-hung"));
    EXPECT_EQ(handOver.claim(parseCommandLine(pictures, "/"), 300),
        InstanceStartup::Role::SecondInstance);
    EXPECT_EQ(handOver.filesToAddHere(), pictures);
    EXPECT_FALSE(handOver.errorString().isEmpty());
}

} // namespace
