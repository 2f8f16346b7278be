#include "Progress.h"

#include "support/Presenter.h"
#include "support/RatingPrompt.h"
#include "support/Settings.h"
#include "support/TesselLib.h"

#include <QMetaObject>
#include <QRegularExpression>

#include <algorithm>

namespace tessel {

namespace {
// The shortest time between two batches of detail lines.
constexpr int kPacingMilliseconds = 16;
}  // namespace

Progress::Progress(Presenter& presenter, QObject* parent) : QObject(parent), presenter_(presenter) {
    pacing_.setSingleShot(true);
    pacing_.setInterval(kPacingMilliseconds);
    connect(&pacing_, &QTimer::timeout, this, &Progress::applyPending);
}

void Progress::begin(const QString& title, bool cancellable) {
    cancellable_ = cancellable;
    cancelled_ = false;
    // A run starts with an empty detail line, never the last run's, so it is set before the
    // sheet shows; the previous run's updates were all applied when it ended.
    {
        QMutexLocker lock(&pendingMutex_);
        pending_.clear();
    }
    setDetail(QString());
    if (title_ != title) {
        title_ = title;
        emit titleChanged();
    }
    presenter_.showProgressSheet();
}

void Progress::setProgress(const QString& detail) {
    {
        QMutexLocker lock(&pendingMutex_);
        pending_.append(detail);
        if (armed_)
            return;
        armed_ = true;
    }
    QMetaObject::invokeMethod(
        this, [this] { applyPending(); }, Qt::QueuedConnection);
}

void Progress::cancel() {
    if (cancellable_)
        cancelled_ = true;
}

void Progress::end() {
    applyPending();
    presenter_.hideProgressSheet();
    const QString key = usageCounterKey();
    setDefaultInt(key, defaultInt(key) + 1);
}

QString Progress::usageCounterKey() {
    return usagesKey(TesselLib::shared().appVersionString());
}

void Progress::applyPending() {
    QStringList details;
    {
        QMutexLocker lock(&pendingMutex_);
        details.swap(pending_);
        // While details keep coming, the next batch waits for the pacing timer.
        armed_ = !details.isEmpty();
    }
    for (const QString& detail : details)
        setDetail(detail);
    if (!details.isEmpty())
        pacing_.start();
}

void Progress::setDetail(const QString& detail) {
    if (detail_ == detail)
        return;
    detail_ = detail;
    readStep();
    emit detailChanged();
}

void Progress::readStep() {
    // Every counted line starts "position/count" followed by a space or nothing.
    static const QRegularExpression counted(QStringLiteral("^(\\d+)/(\\d+)(?: |$)"));
    const QRegularExpressionMatch match = counted.match(detail_);
    const int steps = match.hasMatch() ? match.captured(2).toInt() : 0;
    const int step = steps > 0 ? std::min(match.captured(1).toInt(), steps) : 0;
    step_ = step;
    steps_ = steps;
}

}  // namespace tessel
