// Taking back a run of the runs journal, planned as an ordinary change list: the records whose
// track still holds what the run wrote get their old value back through the usual apply engine,
// so the same guard and the same crash-safe writes apply; the others are listed.
#pragma once

#include "RunJournaling.h"
#include "changes/ApplyEngine.h"
#include "changes/ChangeRecord.h"
#include "itunes/ITunes.h"
#include "itunes/RunJournal.h"
#include "support/ProgressSink.h"

#include <QStringList>

namespace tessel {

/// Moves the files of an undo's rename list back (each record's old value is where the file is,
/// its new value where it goes), through the library so its tracks follow; the result as an
/// apply's. A failed move stops the run; one stopped by the user finishes the file under way.
ApplyResult applyRenamesBack(const ChangeList& list, const itunes::ApplicationProvider& application,
                             ProgressSink& progress);

/// What taking back a run would do.
struct UndoPlan {
    itunes::RunSummary run;
    ChangeList changes;     // the records that would be restored
    TargetPlaylist target;  // membership: the playlist the restoring changes go to
    QStringList leftAlone;  // one line for each record left alone, with why
    bool stopped = false;   // the user stopped the reading: the plan is incomplete
    bool renames = false;   // the records move files back (applyRenamesBack)
};

/// Plans the undo of a run: reads every track the run wrote (a tag record is restored when
/// the track's tag still holds the run's new value, whether the record was marked written
/// or left pending by a run that was killed; one already back at its old value needs
/// nothing). Several records of the run on one tag of one track become one record back to
/// the first old value. Throws a TesselError when the library cannot be read.
UndoPlan planUndo(const itunes::RunJournal& journal, itunes::Application& application,
                  const itunes::RunSummary& run, ProgressSink& progress);

/// The line over the change panel of an undo.
QString undoInfoLine(const UndoPlan& plan);

}  // namespace tessel
