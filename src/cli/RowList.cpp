#include "RowList.h"

#include "CommandLine.h"

#include <set>

namespace tessel::cli {

RowList RowList::parse(const QString& text, const QString& option) {
    RowList list;
    list.option_ = option;
    for (const QString& part : text.split(u',')) {
        const QStringList ends = part.split(u'-');
        bool firstOk = false;
        bool lastOk = false;
        const Range range{ends.first().trimmed().toInt(&firstOk),
                          ends.last().trimmed().toInt(&lastOk)};
        if (ends.size() > 2 || !firstOk || !lastOk || range.first < 1 || range.last < range.first)
            throw UsageError{
                QStringLiteral("%1: '%2' is not a row or a range of rows").arg(option, part)};
        list.ranges_.append(range);
    }
    return list;
}

QList<int> RowList::rowsIn(int count) const {
    std::set<int> rows;
    for (const Range& range : ranges_) {
        // Checked before the range is expanded, so a huge one costs nothing.
        if (range.last > count)
            throw UsageError{QStringLiteral("%1: row %2 is past the last of the %3 rows")
                                 .arg(option_)
                                 .arg(range.last)
                                 .arg(count)};
        for (int row = range.first; row <= range.last; ++row)
            rows.insert(row - 1);
    }
    return QList<int>(rows.begin(), rows.end());
}

}  // namespace tessel::cli
