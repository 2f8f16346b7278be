#include "gui/ShownChangesModel.h"

#include <QLocale>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>

#include <gtest/gtest.h>

namespace tessel::gui::test {
namespace {

constexpr int kSortRole = Qt::UserRole + 7;
constexpr int kCheckColumn = 0;

// A list of two columns: a checkbox (sorting by its state) and a text.
QStandardItemModel* listOf(const QStringList& texts, const QList<bool>& checked, QObject* parent) {
    auto* model = new QStandardItemModel(0, 2, parent);
    for (int row = 0; row < texts.size(); ++row) {
        auto* check = new QStandardItem;
        check->setData(checked.value(row), kSortRole);
        auto* text = new QStandardItem(texts.at(row));
        text->setData(texts.at(row), kSortRole);
        model->appendRow({check, text});
    }
    return model;
}

QList<int> shownOrder(const QAbstractProxyModel& shown) {
    QList<int> rows;
    for (int row = 0; row < shown.rowCount(); ++row)
        rows.append(shown.mapToSource(shown.index(row, 1)).row());
    return rows;
}

const QString kLong = QString("Verse and chorus, line after line ").repeated(12);
const QStringList kTexts{kLong + "b", kLong + "A", kLong,    "Verse",   kLong + "a", "song 10",
                         "Song 9",    "Éclair",    "eclair", "zebra",   "Zebra",     "Ångström",
                         "apple",     "Apple",     "",       "song 10", "Ölberg",    "ölberg",
                         "b",         "10 Days",   "9 Days", "ß",       "ss"};

// The stock proxy with the locale-aware sort the panel had before, over the same list.
class StockProxy : public QSortFilterProxyModel {
  public:
    explicit StockProxy(QAbstractItemModel* list) {
        setSourceModel(list);
        setSortRole(kSortRole);
        setSortCaseSensitivity(Qt::CaseInsensitive);
        setSortLocaleAware(true);
        setDynamicSortFilter(false);
    }
};

TEST(ShownChangesModelTest, SortsLikeTheStockLocaleAwareSortTiesIncluded) {
    for (const char* language : {"de_DE", "en_US", "C"}) {
        QLocale::setDefault(QLocale(QString::fromLatin1(language)));
        QObject owner;
        auto* list = listOf(kTexts, {true, false, true, false, true}, &owner);
        ShownChangesModel shown(list, kSortRole, kCheckColumn);
        StockProxy stock(list);
        // Ties keep the order the rows had before the sort, as with the stock proxy.
        for (const int column : {1, kCheckColumn, 1, kCheckColumn}) {
            for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
                shown.sort(column, order);
                stock.sort(column, order);
                EXPECT_EQ(shownOrder(shown), shownOrder(stock))
                    << language << " column " << column << " order " << order;
            }
        }
        // A changed list is ranked afresh, not by the places its rows had.
        list->item(0, 1)->setData(QStringLiteral("aaa"), kSortRole);
        list->insertRow(0, {new QStandardItem, new QStandardItem(QStringLiteral("AAB"))});
        list->item(0, 1)->setData(QStringLiteral("AAB"), kSortRole);
        shown.sort(1, Qt::AscendingOrder);
        stock.sort(1, Qt::AscendingOrder);
        EXPECT_EQ(shownOrder(shown), shownOrder(stock)) << language;
    }
    QLocale::setDefault(QLocale::system());
}

TEST(ShownChangesModelTest, FiltersByAnyColumnInAnyCaseAndKeepsTheSortOrder) {
    QObject owner;
    auto* list = listOf({"Song 3", "Tune", "Song 1", "Song 2", "Ballad"}, {}, &owner);
    list->item(1, 0)->setText(QStringLiteral("a song in the first column"));
    ShownChangesModel shown(list, kSortRole, kCheckColumn);
    shown.sort(1, Qt::DescendingOrder);
    shown.setFilterText(QStringLiteral("sONg"));
    EXPECT_EQ(shownOrder(shown), (QList<int>{1, 0, 3, 2}));
    EXPECT_EQ(shown.filterText(), "sONg");
    shown.setFilterText(QStringLiteral("nothing like it"));
    EXPECT_EQ(shown.rowCount(), 0);
    shown.setFilterText({});
    EXPECT_EQ(shownOrder(shown), (QList<int>{1, 0, 3, 2, 4}));
    shown.sort(-1, Qt::AscendingOrder);
    EXPECT_EQ(shownOrder(shown), (QList<int>{0, 1, 2, 3, 4})) << "the list's own order";
}

}  // namespace
}  // namespace tessel::gui::test
