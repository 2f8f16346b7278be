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

    /// Counts this launch and shows the hint or hides it for good. A hint that offers the
    /// library stays until it is used or dismissed.
    void start(HintTiming timing = {});
    /// Makes the hint a link to the library window, for a library that is still empty.
    void offerLibrary(bool offer);
    bool offersLibrary() const { return offersLibrary_; }
    /// Takes the hint away now.
    void dismiss() { hideForGood(); }

  signals:
    /// The hint has gone (faded out, or hidden at once from the third launch on).
    void gone();
    /// The user followed the hint's link to the library window.
    void libraryRequested();

  private:
    void fadeOut(int fadeMs);
    void hideForGood();

    bool offersLibrary_ = false;
};

}  // namespace tessel::gui
