// The controller's ways to the vendor: the link buttons and the rating prompt at launch.
#include "AppDelegate.h"
#include "support/RatingPrompt.h"

namespace tessel {

void AppDelegate::openURL(int tag, bool withPreferences) {
    // A button's tag carries the link code in its low 8 bits.
    const QUrl url = TesselLib::shared().linkURL(quint8(tag & 0xFF), withPreferences);
    if (!url.isEmpty())
        presenter_.openURL(url);
}

void AppDelegate::runRatingPrompt() {
    if (!asksForRating_)
        return;
    TesselLib& lib = TesselLib::shared();
    const quint8 link =
        tessel::runRatingPrompt(lib.settings(), lib.appName(), lib.appVersionString(),
                                [this](const AlertRequest& alert) { return showAlert(alert); });
    if (link != 0)
        openURL(link);
}

}  // namespace tessel
