#include "LaunchHint.h"

#include "support/Settings.h"

#include <QGraphicsOpacityEffect>
#include <QPropertyAnimation>
#include <QTimer>

namespace tessel::gui {

namespace {

const QString kLaunches = QStringLiteral("Launches");
constexpr qint64 kLaunchesWithHint = 2;

}  // namespace

LaunchHint::LaunchHint(QWidget* parent) : QLabel(parent) {
    setWordWrap(true);
    setMargin(8);
    setAutoFillBackground(true);
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setFrameShape(QFrame::Box);
    // A hint only: clicks go to the controls under it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    connect(this, &QLabel::linkActivated, this, &LaunchHint::libraryRequested);
    hide();
}

void LaunchHint::start(HintTiming timing) {
    setDefaultInt(kLaunches, defaultInt(kLaunches) + 1);
    if (defaultInt(kLaunches) > kLaunchesWithHint) {
        hideForGood();
        return;
    }
    show();
    raise();
    if (offersLibrary_)
        return;
    QTimer::singleShot(timing.delayMs, this, [this, fadeMs = timing.fadeMs] { fadeOut(fadeMs); });
}

void LaunchHint::offerLibrary(bool offer) {
    offersLibrary_ = offer;
    // Only a hint with a link takes clicks; otherwise they go to the controls under it.
    setAttribute(Qt::WA_TransparentForMouseEvents, !offer);
    setTextInteractionFlags(offer ? Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard
                                  : Qt::NoTextInteraction);
}

void LaunchHint::fadeOut(int fadeMs) {
    auto* opacity = new QGraphicsOpacityEffect(this);
    setGraphicsEffect(opacity);
    auto* fade = new QPropertyAnimation(opacity, "opacity", this);
    fade->setDuration(fadeMs);
    fade->setStartValue(1.0);
    fade->setEndValue(0.0);
    connect(fade, &QPropertyAnimation::finished, this, &LaunchHint::hideForGood);
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}

void LaunchHint::hideForGood() {
    hide();
    emit gone();
}

}  // namespace tessel::gui
