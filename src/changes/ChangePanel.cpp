#include "ChangePanel.h"

#include "support/FormattedString.h"

#include <QStringList>

#include <algorithm>
#include <vector>

namespace tessel {

namespace {

// Records beyond the tenth are not looked at: the line only has to give an idea of the list.
constexpr int kTagsLookedAt = 10;

QStringList distinctLeadingTags(const ChangeList& list) {
    QStringList tags;
    const qsizetype count = std::min<qsizetype>(list.records.size(), kTagsLookedAt);
    for (qsizetype i = 0; i < count; ++i) {
        const QString& tag = list.records.at(i).tagToChange;
        if (!tags.contains(tag))
            tags.append(tag);
    }
    return tags;
}

}  // namespace

QString changeInfoLine(const ChangeList& list, const QString& sourcePlaylist,
                       const QString& targetPlaylist) {
    const qint64 count = list.records.size();
    if (list.playlist && list.remove != 0) {
        return formattedString(
            QStringLiteral("Checked tracks of these %li tracks will removed from the playlist "
                           "'%@':"),
            count, sourcePlaylist);
    }
    if (list.playlist) {
        return formattedString(
            QStringLiteral("Checked tracks of these %li tracks will added to the playlist '%@':"),
            count, targetPlaylist);
    }
    const QStringList tags = distinctLeadingTags(list);
    if (tags.size() == 1) {
        return formattedString(
            QStringLiteral("Checked tracks of these %li tracks will get their tag '%@' changed:"),
            count, tags.first());
    }
    return formattedString(
        QStringLiteral("Checked tracks of these %li tracks will get their tags '%@' changed:"),
        count, tags.join(QStringLiteral("', '")));
}

// Marks rather than a set: Check All over 100,000 rows takes each row and its partner.
QList<int> checkSelected(ChangeList& list, const QList<int>& rows, int tag) {
    const qsizetype count = list.records.size();
    std::vector<bool> taken(size_t(count), false);
    const auto take = [&](int row) {
        if (row < 0 || row >= count || taken[size_t(row)])
            return;
        taken[size_t(row)] = true;
        list.records[row].enabled = tag != 0;
    };
    for (int row : rows) {
        take(row);
        if (row >= 0 && row < count)
            take(list.records.at(row).partner);
    }
    QList<int> changed;
    for (qsizetype row = 0; row < count; ++row) {
        if (taken[size_t(row)])
            changed.append(int(row));
    }
    return changed;
}

int enabledCount(const ChangeList& list) {
    return static_cast<int>(std::count_if(list.records.cbegin(), list.records.cend(),
                                          [](const ChangeRecord& r) { return r.enabled; }));
}

}  // namespace tessel
