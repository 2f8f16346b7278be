#include "TestSupport.h"
#include "support/Settings.h"
#include "support/TesselLib.h"

#include <QDir>
#include <QFileInfo>

namespace tessel {
namespace {

TEST(TesselLibTest, DescribesTheApplication) {
    test::TestEnvironment env;
    EXPECT_EQ(env.lib().appName(), QStringLiteral("Tessel"));
    EXPECT_FALSE(env.lib().appVersionString().isEmpty());
    EXPECT_GE(env.lib().appBuild(), 0);
    EXPECT_EQ(&TesselLib::shared(), &env.lib());
}

TEST(TesselLibTest, CreatesTheSupportFolder) {
    test::TestEnvironment first;
    const auto folder = first.lib().suppURL();
    ASSERT_TRUE(folder);
    ASSERT_TRUE(folder->toLocalFile().startsWith(QDir::homePath() + u'/'))
        << "the test must not remove the real data folder";
    QDir(folder->toLocalFile()).removeRecursively();
    ASSERT_FALSE(QFileInfo::exists(folder->toLocalFile()));

    test::TestEnvironment second;
    EXPECT_TRUE(QFileInfo(folder->toLocalFile()).isDir());
    EXPECT_TRUE(folder->toLocalFile().endsWith(QStringLiteral("/Tessel")));
}

TEST(TesselLibTest, IntegerDefaultsReadZeroWhenMissing) {
    test::TestEnvironment env;
    EXPECT_EQ(defaultInt(QStringLiteral("Launches")), 0);
    setDefaultInt(QStringLiteral("Launches"), 5);
    EXPECT_EQ(defaultInt(QStringLiteral("Launches")), 5);
    setDefaultInt(QStringLiteral("big"), qint64(1) << 40);
    EXPECT_EQ(defaultInt(QStringLiteral("big")), qint64(1) << 40);
}

TEST(TesselLibTest, UserDefaultsSurviveARestart) {
    const QString key = QStringLiteral("tessellib_test_usages");
    {
        TesselLib lib;
        EXPECT_TRUE(lib.prefsPath().endsWith(QStringLiteral(".conf")))
            << lib.prefsPath().toStdString();
        lib.settings().setIntValue(key, 5);
    }
    TesselLib again;
    EXPECT_EQ(again.settings().intValue(key), 5);
    EXPECT_EQ(again.settings().intValue(QStringLiteral("never written")), 0);
    EXPECT_TRUE(QFileInfo::exists(again.prefsPath()));
}

}  // namespace
}  // namespace tessel
