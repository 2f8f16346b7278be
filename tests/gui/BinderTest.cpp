#include "gui/Binder.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace tessel::gui::test {
namespace {

class Options : public QObject {
    Q_OBJECT
    Q_PROPERTY(int index MEMBER index NOTIFY indexChanged)
    Q_PROPERTY(QStringList names MEMBER names NOTIFY namesChanged)
    Q_PROPERTY(bool flag MEMBER flag NOTIFY flagChanged)
    Q_PROPERTY(QString text MEMBER text NOTIFY textChanged)
    Q_PROPERTY(QVariant number MEMBER number NOTIFY numberChanged)
    Q_PROPERTY(int plain MEMBER plain)

  public:
    int index = 0;
    QStringList names{"a", "b", "c"};
    bool flag = false;
    QString text;
    QVariant number;
    int plain = 0;

  signals:
    void indexChanged();
    void namesChanged();
    void flagChanged();
    void textChanged();
    void numberChanged();
};

class BinderTest : public ::testing::Test {
  protected:
    Options options;
    Binder binder{&options};
};

TEST_F(BinderTest, PopUpFollowsItsListAndIndexBothWays) {
    QComboBox box;
    options.index = 1;
    binder.bindItems(&box, "names", "index");
    EXPECT_EQ(box.count(), 3);
    EXPECT_EQ(box.currentText(), "b");

    box.setCurrentIndex(2);
    EXPECT_EQ(options.index, 2);
    options.setProperty("index", 0);
    EXPECT_EQ(box.currentIndex(), 0);

    // A new list keeps the chosen item where it still is, else the option's index.
    options.setProperty("names", QStringList{"new", "a", "b"});
    EXPECT_EQ(box.currentText(), "a");
    EXPECT_EQ(options.index, 1);
    options.setProperty("names", QStringList{"x", "y"});
    EXPECT_EQ(box.currentText(), "y");
    EXPECT_EQ(options.index, 1);
    options.setProperty("index", 7);
    EXPECT_EQ(box.currentIndex(), -1);
    EXPECT_EQ(options.index, 7) << "an index without an item stays as it is";
}

TEST_F(BinderTest, CheckBoxAndChoiceFollowTheirOptions) {
    QCheckBox check;
    binder.bindChecked(&check, "flag");
    check.click();
    EXPECT_TRUE(options.flag);
    options.setProperty("flag", false);
    EXPECT_FALSE(check.isChecked());

    QButtonGroup group;
    QRadioButton zero, one, other;
    group.addButton(&zero, 0);
    group.addButton(&one, 1);
    group.addButton(&other, 2);
    binder.bindChoice(&group, "index", 2);
    EXPECT_TRUE(zero.isChecked());
    one.click();
    EXPECT_EQ(options.index, 1);
    options.setProperty("index", 5);
    EXPECT_TRUE(other.isChecked());
    EXPECT_EQ(options.index, 5) << "showing a value must not change it";
}

TEST_F(BinderTest, TextIsWrittenWhenEditingEndsOrWhileTyping) {
    QLineEdit field;
    binder.bindText(&field, "text");
    QTest::keyClicks(&field, "abc");
    EXPECT_EQ(options.text, "");
    QTest::keyClick(&field, Qt::Key_Return);
    EXPECT_EQ(options.text, "abc");
    QTest::keyClicks(&field, "d");
    binder.endEditing();
    EXPECT_EQ(options.text, "abcd");
    options.setProperty("text", "new");
    EXPECT_EQ(field.text(), "new");

    QLineEdit live;
    binder.bindText(&live, "text", Binder::Commit::WhileTyping);
    QTest::keyClicks(&live, "s");
    EXPECT_EQ(options.text, "news");
    EXPECT_EQ(field.text(), "news");
}

TEST_F(BinderTest, NumberFieldIsANumberOrAbsent) {
    QLineEdit field;
    binder.bindNumber(&field, "number");
    struct Row {
        QString typed;
        QVariant value;
    };
    const QList<Row> table{{"42", 42},        {"-7", -7}, {"", QVariant()},
                           {"-", QVariant()}, {"0", 0},   {"007", 7}};
    for (const Row& row : table) {
        field.setText(row.typed);
        binder.endEditing();
        EXPECT_EQ(options.number.isValid(), row.value.isValid()) << row.typed.toStdString();
        EXPECT_EQ(options.number.toLongLong(), row.value.toLongLong()) << row.typed.toStdString();
        EXPECT_EQ(field.text(), row.typed) << "what the user typed stays";
    }
    QTest::keyClicks(&field, "1x2");
    EXPECT_EQ(field.text(),
              "0071"
              "2")
        << "letters are refused";
    options.setProperty("number", 15);
    EXPECT_EQ(field.text(), "15");
    options.setProperty("number", QVariant());
    EXPECT_EQ(field.text(), "");
}

TEST_F(BinderTest, TransformersEnableAndShowByAnOptionsValue) {
    QLabel label;
    QLineEdit field;
    binder.bindEnabled(&label, "index", "Equalto2ValueTransformer");
    binder.bindVisible(&label, "index", "Smallerthan3ValueTransformer");
    binder.bindEnabled(&field, "text.length", "Largerthan0alueTransformer");
    label.show();
    EXPECT_FALSE(label.isEnabled());
    EXPECT_FALSE(field.isEnabled());

    options.setProperty("index", 2);
    EXPECT_TRUE(label.isEnabled());
    EXPECT_TRUE(label.isVisible());
    options.setProperty("index", 3);
    EXPECT_FALSE(label.isVisible());
    options.setProperty("text", "x");
    EXPECT_TRUE(field.isEnabled());
    EXPECT_EQ(binder.valueAt("names.length"), 3);
}

TEST_F(BinderTest, MisbindingsAreRefused) {
    QLabel label;
    EXPECT_THROW(binder.bindLabel(&label, "missing"), std::logic_error);
    EXPECT_THROW(binder.bindLabel(&label, "plain"), std::logic_error) << "no change signal";
    EXPECT_THROW(binder.bindEnabled(&label, "index", "Largerthan1ValueTransformer"),
                 std::logic_error);
    EXPECT_THROW(binder.bindEnabled(&label, "text.size", "Equalto0ValueTransformer"),
                 std::logic_error);
}

}  // namespace
}  // namespace tessel::gui::test

#include "BinderTest.moc"
