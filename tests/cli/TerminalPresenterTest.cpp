#include "TestSupport.h"
#include "cli/TerminalPresenter.h"

namespace tessel::cli {
namespace {

AlertRequest alert(const QString& alternate, const QString& other) {
    AlertRequest request;
    request.title = QStringLiteral("Title");
    request.message = QStringLiteral("Message");
    request.alternateButton = alternate;
    request.otherButton = other;
    return request;
}

TEST(TerminalPresenterTest, TakesTheButtonAtTheChosenPosition) {
    struct Row {
        int answer;
        AlertRequest request;
        int expected;
        QString taken;
        QStringList offered;
    };
    const Row rows[] = {
        {1, alert("No", "Later"), kAlertDefault, "OK", {"OK", "No", "Later"}},
        {2, alert("No", "Later"), kAlertAlternate, "No", {"OK", "No", "Later"}},
        {3, alert("No", "Later"), kAlertOther, "Later", {"OK", "No", "Later"}},
        {2, alert("", "Later"), kAlertOther, "Later", {"OK", "Later"}},
        {3, alert("", "Later"), kAlertDefault, "OK", {"OK", "Later"}},
        {2, alert("", ""), kAlertDefault, "OK", {"OK"}},
    };
    for (const Row& row : rows) {
        TerminalPresenter presenter(row.answer, false);
        EXPECT_EQ(presenter.presentAlert(row.request), row.expected) << row.answer;
        ASSERT_EQ(presenter.alerts().size(), 1);
        EXPECT_EQ(presenter.alerts().first().answer, row.taken) << row.answer;
        EXPECT_EQ(presenter.alerts().first().buttons, row.offered) << row.answer;
    }
}

}  // namespace
}  // namespace tessel::cli
