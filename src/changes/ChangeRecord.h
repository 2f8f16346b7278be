// One proposed change and the list the change panel shows. A tag change carries all seven
// fields; a membership change (add to or remove from a playlist) only enabled, track, title
// and artist.
#pragma once

#include "model/MusicTrack.h"
#include "model/PassedOver.h"

#include <QList>
#include <QString>
#include <QVariant>

namespace tessel {

struct ChangeRecord {
    bool enabled = true;  // the panel's checkbox; only enabled records are applied
    MusicTrack track;     // the track to change
    QString title;        // the track's title and artist when the change was computed,
    QString artist;       // shown in the panel and checked again before writing
    QString tagToChange;  // tag identifier (tag changes only)
    QVariant oldTag;      // the value read when the change was computed
    QVariant newTag;      // the value to write
    int partner = -1;     // the row of the other half of a swap, checked and unchecked with
                          // this one (a half alone would copy one value over the other)
};

/// The change list with its three list-wide flags. A flag never set reads false or zero.
struct ChangeList {
    QList<ChangeRecord> records;
    bool playlist = false;  // true: membership changes; false: tag changes
    int remove = 0;         // membership: non-zero removes from the source playlist, zero adds
    bool trash = false;     // with remove: also move each removed file track's file to the Trash
    QList<PassedOver> passedOver;  // what the tool passed over without a look, shown under the
                                   // info line
};

/// A tag-change record as every tag tool builds it.
inline ChangeRecord tagChange(const MusicTrack& track, const QString& title, const QString& artist,
                              const QString& tag, const QVariant& oldValue,
                              const QVariant& newValue) {
    return ChangeRecord{true, track, title, artist, tag, oldValue, newValue, -1};
}

}  // namespace tessel
