#include "TestSupport.h"
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

TEST(TasksTest, AWorkerWaitsForItsMainThreadTask) {
    // How an alert reaches the user from a worker: the worker waits for the answer.
    std::atomic<int> answer{0};
    std::atomic<bool> ranOnMain{false};
    runInBackground([&] {
        int given = 0;
        runOnMainBlocking([&] {
            ranOnMain = isMainThread();
            given = 42;
        });
        answer = given;
    });
    ASSERT_TRUE(test::spinUntil([&] { return answer.load() != 0; }));
    EXPECT_EQ(answer.load(), 42);
    EXPECT_TRUE(ranOnMain.load());
}

}  // namespace
}  // namespace tessel
