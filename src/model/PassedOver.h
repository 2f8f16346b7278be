// The tracks a run passed over without looking at them, counted by why, so the user learns
// that some tracks were not looked at and what to do about it.
#pragma once

#include <QList>
#include <QString>

namespace tessel {

struct PassedOver {
    QString one;   // what one such track is: "track whose file is missing"
    QString many;  // what several are: "tracks whose files are missing"
    int count = 0;
};

/// Counts one more track of the kind, adding the kind after the others when it is new.
void passOver(QList<PassedOver>& list, const QString& one, const QString& many);

/// Adds the counts of more to list, kind by kind.
void passOver(QList<PassedOver>& list, const QList<PassedOver>& more);

/// "Passed over: 3 tracks whose files are missing; 1 file whose name is not valid UTF-8."
/// Empty when nothing was passed over.
QString passedOverLine(const QList<PassedOver>& list);

}  // namespace tessel
