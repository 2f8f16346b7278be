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
    // Queued even on the main thread, so the order of all updates is the order of the calls.
    QMetaObject::invokeMethod(
        this, [this, detail] { setDetail(detail); }, Qt::QueuedConnection);
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

void Progress::setDetail(const QString& detail) {
    if (detail_ == detail)
        return;
    detail_ = detail;
    emit detailChanged();
}

}  // namespace tessel
