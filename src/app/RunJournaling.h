// Keeping applied runs in the library's runs journal: the controller journals every apply of
// a change list (its checked records before anything is written, the records written after)
// and every rename of the Filename Changer, so that a run can be taken back later.
#pragma once

#include "changes/ApplyEngine.h"
#include "changes/ChangeRecord.h"
#include "itunes/ITunes.h"
#include "itunes/RunJournal.h"

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
    qsizetype listed_ = 0;  // the records of the list applied
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

}  // namespace tessel
