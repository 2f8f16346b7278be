#include "gui/AlertBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace tessel::gui::test {
namespace {

// Shows the alert and, once it is up, lets act press keys or buttons on it.
int answerAlert(const AlertRequest& request, std::function<void(QMessageBox*)> act) {
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            poll.stop();
            act(box);
        }
    });
    poll.start(10);
    return runAlertBox(nullptr, request);
}

std::function<void(QMessageBox*)> press(const QString& title) {
    return [title](QMessageBox* box) {
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == title)
                button->click();
        }
    };
}

std::function<void(QMessageBox*)> key(Qt::Key key, const QString& thenPress = {}) {
    return [key, thenPress](QMessageBox* box) {
        QTest::keyClick(box, key);
        if (box->isVisible())
            press(thenPress)(box);
    };
}

TEST(AlertBoxTest, AnswersByTheButtonThatClosedIt) {
    struct Row {
        const char* name;
        AlertRequest request;
        std::function<void(QMessageBox*)> act;
        int answer;
    };
    const AlertRequest three{"Title", "Message", "Save", "Cancel", "Don't Save"};
    const AlertRequest choice{"Title", "Message", "Yes", "No", ""};
    const QList<Row> table{
        {"default", three, press("Save"), kAlertDefault},
        {"alternate", three, press("Cancel"), kAlertAlternate},
        {"other", three, press("Don't Save"), kAlertOther},
        {"Return takes the default", three, key(Qt::Key_Return), kAlertDefault},
        {"Escape takes Cancel", three, key(Qt::Key_Escape), kAlertAlternate},
        {"Escape closes a lone OK", AlertRequest{"Title", "Message", "OK", "", ""},
         key(Qt::Key_Escape), kAlertDefault},
        {"Escape does nothing without Cancel", choice, key(Qt::Key_Escape, "No"), kAlertAlternate},
    };
    for (const Row& row : table)
        EXPECT_EQ(answerAlert(row.request, row.act), row.answer) << row.name;
}

TEST(AlertBoxTest, ShowsTitleAndMessage) {
    QString text, informative;
    answerAlert({"No Changes", "Nothing to do.", "OK", "", ""}, [&](QMessageBox* box) {
        text = box->text();
        informative = box->informativeText();
        box->defaultButton()->click();
    });
    EXPECT_EQ(text, "No Changes");
    EXPECT_EQ(informative, "Nothing to do.");
}

}  // namespace
}  // namespace tessel::gui::test
