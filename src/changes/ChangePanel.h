// What the change panel shows and lets the user do with a change list, apart from the panel
// itself: its info line and the check/uncheck of selected rows.
#pragma once

#include "ChangeRecord.h"

#include <QList>
#include <QString>

namespace tessel {

/// The line above the panel's table. A membership list names the playlist it changes:
/// sourcePlaylist for a removal, targetPlaylist for an addition. A tag list names the distinct
/// tags changed by its first ten records (in the order first met), as stored. The count is the
/// number of records, checked or not.
QString changeInfoLine(const ChangeList& list, const QString& sourcePlaylist,
                       const QString& targetPlaylist);

/// Sets "enabled" of the records at the given rows (0-based) to tag != 0: a control with tag 1
/// checks the rows, one with tag 0 unchecks them. The two halves of a swap go together: a
/// row's partner follows it. Rows outside the list are ignored. Returns the rows set,
/// ascending.
QList<int> checkSelected(ChangeList& list, const QList<int>& rows, int tag);

/// The number of records that are checked.
int enabledCount(const ChangeList& list);

}  // namespace tessel
