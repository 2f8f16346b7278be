// The hint over the main window on the first launches, pointing new users at the toolbar.
// Every launch is counted in the "Launches" default; on the first two the hint fades out
// after a while, from the third on it is not shown at all.
#pragma once

#include <QLabel>

namespace tessel::gui {

struct HintTiming {
    int delayMs = 4000;  // shown in full this long
    int fadeMs = 1000;   // then faded out over this long
};

class LaunchHint : public QLabel {
    Q_OBJECT

  public:
    explicit LaunchHint(QWidget* parent);

    /// Counts this launch and shows the hint or hides it for good.
    void start(HintTiming timing = {});

  signals:
    /// The hint has gone (faded out, or hidden at once from the third launch on).
    void gone();

  private:
    void fadeOut(int fadeMs);
    void hideForGood();
};

}  // namespace tessel::gui
