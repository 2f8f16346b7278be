// The controller's undo: planning the undo of a run in the background, then the change panel
// over what can be restored. The apply itself is the usual one (AppDelegate::applyChanges).
#include "AppDelegate.h"

#include "foundation/StringHelpers.h"
#include "support/FormattedString.h"
#include "support/Presenter.h"
#include "support/Tasks.h"

#include <QDebug>

namespace tessel {

namespace {

const QString kNothingToUndo = QStringLiteral("Nothing to Undo");
// The alert lists this many records left alone; the rest are counted.
constexpr int kListedLeftAlone = 10;

struct Prepared {
    std::optional<UndoPlan> plan;
    std::optional<AlertRequest> alert;
};

std::optional<itunes::RunSummary> chosenRun(const itunes::RunJournal& journal,
                                            std::optional<qint64> run, Prepared& prepared) {
    if (!run) {
        std::optional<itunes::RunSummary> last = journal.lastUndoable();
        if (!last)
            prepared.alert =
                okAlert(kNothingToUndo, QStringLiteral("No applied run is left to take back."));
        return last;
    }
    std::optional<itunes::RunSummary> found = journal.run(*run);
    if (!found)
        prepared.alert =
            okAlert(kNothingToUndo,
                    formattedString(QStringLiteral("There is no run %li in the history."), *run));
    else if (found->undone)
        prepared.alert =
            okAlert(kNothingToUndo,
                    formattedString(QStringLiteral("Run %li was taken back already."), *run));
    return found && !found->undone ? found : std::nullopt;
}

Prepared prepareUndo(const itunes::ApplicationProvider& application, std::optional<qint64> run,
                     ProgressSink& progress) {
    Prepared prepared;
    try {
        const std::optional<itunes::RunJournal> journal = openRunJournal(application);
        if (!journal) {
            prepared.alert =
                okAlert(kNothingToUndo, QStringLiteral("The music library keeps no history of "
                                                       "runs that could be taken back."));
            return prepared;
        }
        if (const std::optional<itunes::RunSummary> summary = chosenRun(*journal, run, prepared))
            prepared.plan = planUndo(*journal, *application(), *summary, progress);
    } catch (const TesselError& error) {
        qWarning().noquote() << error.description();
        prepared.alert = okAlert(error.name(), sentence(error.reason()));
    }
    return prepared;
}

AlertRequest leftAloneAlert(const UndoPlan& plan) {
    QStringList lines = plan.leftAlone.mid(0, kListedLeftAlone);
    if (plan.leftAlone.size() > kListedLeftAlone)
        lines.append(formattedString(QStringLiteral("…and %li more."),
                                     qint64(plan.leftAlone.size() - kListedLeftAlone)));
    return okAlert(QStringLiteral("Changes Left Alone"),
                   formattedString(QStringLiteral("These changes of run %li were changed again "
                                                  "since, or their tracks are gone; they stay "
                                                  "as they are:\n%@"),
                                   plan.run.id, lines.join(u'\n')));
}

void markUndone(const itunes::ApplicationProvider& application, qint64 run) {
    try {
        if (std::optional<itunes::RunJournal> journal = openRunJournal(application))
            journal->markUndone(run);
    } catch (const TesselError& error) {
        qWarning().noquote() << error.description();
    }
}

}  // namespace

void AppDelegate::performUndo(std::optional<qint64> run) {
    presenter_.endEditing();
    undoLeftAlone_.clear();
    progress_.begin(QStringLiteral("Collecting changes…"), true);
    runInBackground([this, run, application = application_]() {
        Prepared prepared = prepareUndo(application, run, progress_);
        onMain([this, prepared = std::move(prepared)]() mutable {
            finishUndoPlan(std::move(prepared.plan), prepared.alert);
        });
    });
}

void AppDelegate::finishUndoPlan(std::optional<UndoPlan> plan,
                                 const std::optional<AlertRequest>& alert) {
    progress_.end();
    if (progress_.cancelled() || (plan && plan->stopped)) {
        emit runEnded(false);
        return;
    }
    if (alert || !plan) {
        showAlert(alert.value_or(okAlert(kNothingToUndo, QString())));
        emit runEnded(false);
        return;
    }
    undoLeftAlone_ = plan->leftAlone;
    if (!plan->leftAlone.isEmpty())
        showAlert(leftAloneAlert(*plan));
    if (plan->changes.records.isEmpty()) {
        // Nothing of it can come back: the next undo goes to the run before it.
        markUndone(application_, plan->run.id);
        showAlert(okAlert(kNothingToUndo,
                          formattedString(QStringLiteral("Nothing of run %li is left to take "
                                                         "back; it is marked as undone."),
                                          plan->run.id)));
        emit runEnded(true);
        return;
    }
    ChangeList list = plan->changes;
    setChanges(std::move(list));
    undo_ = std::move(plan);
    beginChanges();
    emit runEnded(true);
}

QList<itunes::RunSummary> AppDelegate::runHistory() const {
    try {
        if (const std::optional<itunes::RunJournal> journal = openRunJournal(application_))
            return journal->runs();
    } catch (const TesselError& error) {
        qWarning().noquote() << error.description();
    }
    return {};
}

}  // namespace tessel
