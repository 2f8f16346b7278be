#include "TestSupport.h"
#include "support/Alerts.h"
#include "support/Tasks.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThreadPool>

#include <atomic>

namespace tessel {
namespace {

TEST(TasksTest, MainThreadTasksRunInOrder) {
    QStringList order;
    std::atomic<bool> done{false};
    runInBackground([&] {
        for (int i = 0; i < 50; ++i)
            runOnMainAsync([&order, i] { order.append(QString::number(i)); });
        runOnMainAsync([&] { done = true; });
    });
    ASSERT_TRUE(test::spinUntil([&] { return done.load(); }));
    ASSERT_EQ(order.size(), 50);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(order.at(i), QString::number(i));
}

TEST(TasksTest, AWorkerWaitsForItsAlertToBeAnswered) {
    test::TestEnvironment env;
    env.presenter.answers = {kAlertOther};
    std::atomic<int> answer{99};
    std::atomic<bool> answeredOnMain{false};
    env.presenter.onAlert = [&](const AlertRequest&) { answeredOnMain = isMainThread(); };

    runInBackground([&] {
        answer =
            runAlert(QStringLiteral("Rate Tessel?"), QStringLiteral("Please"),
                     QStringLiteral("Rate"), QStringLiteral("Don't rate"), QStringLiteral("Later"));
    });
    ASSERT_TRUE(test::spinUntil([&] { return answer.load() != 99; }));
    EXPECT_EQ(answer.load(), kAlertOther);
    EXPECT_TRUE(answeredOnMain.load());
    ASSERT_EQ(env.presenter.alerts.size(), 1);
    EXPECT_EQ(env.presenter.alerts.first().otherButton, QStringLiteral("Later"));
}

TEST(TasksTest, AppTitledAlertsCarryTheApplicationName) {
    test::TestEnvironment env;
    EXPECT_EQ(runAppTitledAlert(QStringLiteral("Hello")), kAlertDefault);
    EXPECT_EQ(env.presenter.alertLines(), QStringList{"Tessel: Hello"});
}

TEST(TasksTest, DelayedTasksRunOnTheMainThreadLater) {
    QElapsedTimer timer;
    timer.start();
    std::atomic<qint64> ranAfter{-1};
    runOnMainAfter([&] { ranAfter = timer.elapsed(); }, 0.1F);
    ASSERT_TRUE(test::spinUntil([&] { return ranAfter.load() >= 0; }));
    EXPECT_GE(ranAfter.load(), 90);
}

}  // namespace
}  // namespace tessel
