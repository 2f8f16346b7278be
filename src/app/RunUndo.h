// Keeping applied runs in the library's runs journal and taking them back. The controller
// journals every apply of a change list (its checked records, before anything is written; the
// records written, after), and plans the undo of a run as an ordinary change list: the records
// whose track still holds what the run wrote get their old value back through the usual apply
// engine, so the same guard and the same crash-safe writes apply; the others are listed.
#pragma once

#include "changes/ApplyEngine.h"
#include "changes/ChangeRecord.h"
#include "itunes/ITunes.h"
#include "itunes/RunJournal.h"
#include "support/ProgressSink.h"

#include <QStringList>

#include <optional>

namespace tessel {

/// The runs journal of the library the provider opens: plain-file runs are kept there too.
/// Absent, and logged, when the library cannot be opened for writing or is not one that
/// keeps a journal.
std::optional<itunes::RunJournal> openRunJournal(const itunes::ApplicationProvider& application);

/// The journal records of the checked rows of a list about to be applied. A track a
/// membership list adds is left out when the target playlist holds it already: the apply
/// adds nothing then, and undo must not take away what was there before.
QList<itunes::RunRecord> runRecords(const ChangeList& list, const TargetPlaylist& target,
                                    const itunes::RunJournal& journal,
                                    itunes::Application* application);

/// The journal's part in one apply: start() stores the checked records pending before
/// anything is written, finish() marks those the apply reports written. The apply of an undo
/// is journaled as no run of its own; once it finishes, its run is marked undone. A journal
/// that cannot be written does not stop the apply: the run is then only logged as not kept.
class JournaledApply {
  public:
    static JournaledApply start(const itunes::ApplicationProvider& application,
                                const ChangeList& list, const TargetPlaylist& target,
                                const QString& tool, std::optional<qint64> undoing);
    void finish(const ApplyResult& result);

  private:
    std::optional<itunes::RunJournal> journal_;
    qint64 run_ = 0;
    bool undoing_ = false;
};

/// The tag a journal record of a rename carries: its old value is the file's path before,
/// its new value the path after.
inline const QString kRenameRecordTag = QStringLiteral("rename");

/// The journal of a Filename Changer run, which renames at once, one file after another: each
/// rename is recorded pending just before the file moves and marked written once it moved. The
/// run is begun with its first rename, so a run that renames nothing leaves no run behind.
class RenameJournal {
  public:
    explicit RenameJournal(const itunes::ApplicationProvider& application);
    void renaming(const QString& from, const QString& to);
    void renamed();

  private:
    std::optional<itunes::RunJournal> journal_;
    qint64 run_ = 0;
    int position_ = -1;
};

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
