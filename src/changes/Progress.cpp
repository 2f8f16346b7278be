#include "Progress.h"

#include "support/FormattedString.h"
#include "support/Presenter.h"
#include "support/Settings.h"
#include "support/TesselLib.h"

#include <QMetaObject>

namespace tessel {

Progress::Progress(Presenter& presenter, QObject* parent)
    : QObject(parent), presenter_(presenter) {}

void Progress::begin(const QString& title) {
    presenter_.showProgressSheet();
    if (title_ != title) {
        title_ = title;
        emit titleChanged();
    }
    setProgress(QString());
}

void Progress::setProgress(const QString& detail) {
    // One main-thread task applies every detail queued until it runs, in order, so a worker
    // that reports every track does not wake the main thread once per track.
    bool schedule = false;
    {
        QMutexLocker lock(&pendingMutex_);
        schedule = pending_.isEmpty();
        pending_.append(detail);
    }
    if (schedule)
        QMetaObject::invokeMethod(
            this, [this] { applyPending(); }, Qt::QueuedConnection);
}

void Progress::end() {
    presenter_.hideProgressSheet();
    const QString key = usageCounterKey();
    setDefaultInt(key, defaultInt(key) + 1);
}

QString Progress::usageCounterKey() {
    return formattedString(QStringLiteral("tessellib_%@_usages"),
                           TesselLib::shared().appVersionString());
}

void Progress::applyPending() {
    QStringList details;
    {
        QMutexLocker lock(&pendingMutex_);
        details.swap(pending_);
    }
    for (const QString& detail : details)
        setDetail(detail);
}

void Progress::setDetail(const QString& detail) {
    if (detail_ == detail)
        return;
    detail_ = detail;
    emit detailChanged();
}

}  // namespace tessel
