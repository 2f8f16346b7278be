// The texts and records of the re-linking tool, which points dead tracks of a library playlist
// at their files in a folder the user chooses: one search per dead track by exact artist,
// title and album; a track with exactly one match gets a change of its "location".
#pragma once

#include "RelinkIndex.h"
#include "changes/ChangeRecord.h"
#include "model/MusicTrack.h"
#include "support/Presenter.h"

#include <QString>

namespace tessel {

/// The search of one dead track as the log shows it, with the plain values.
QString searchPredicate(const QString& artist, const QString& title, const QString& album);

/// The log line of the candidate at index (from 0) of a search that found several.
QString candidateLogLine(qsizetype index, const RelinkCandidate& candidate);

/// The record that points the track at path: tag "location", old value the empty text.
ChangeRecord relinkRecord(const MusicTrack& track, const QString& title, const QString& artist,
                          const QString& path);

/// The alert before the folder chooser, and the one for a run that re-linked nothing.
AlertRequest musicFolderAlert();
AlertRequest noFixedTracksAlert();

/// The progress lines: the playlist scan (position from 1, count, title) and the searches
/// (title, searches left with this one).
QString scanLine(int position, int count, const QString& title);
QString searchLine(const QString& title, int left);

}  // namespace tessel
