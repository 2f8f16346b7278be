// Rows named on the command line, such as "2,5-7": 1-based rows and ranges of rows, as
// --uncheck and library select --rows take them.
#pragma once

#include <QList>
#include <QString>

namespace tessel::cli {

class RowList {
  public:
    /// No rows.
    RowList() = default;
    /// Reads the value of option; throws UsageError, naming the option, for a part that is no
    /// row or range of rows.
    static RowList parse(const QString& text, const QString& option);

    /// The 0-based rows of a list of count rows: a set, each row once and ascending however
    /// often the list names it. Throws UsageError naming a row past the end.
    QList<int> rowsIn(int count) const;

  private:
    struct Range {
        int first = 1;
        int last = 1;
    };
    QString option_;
    QList<Range> ranges_;
};

}  // namespace tessel::cli
