#include "RatingPrompt.h"

#include "FormattedString.h"
#include "SupportLinks.h"

namespace tessel {

namespace {

// More completed operations than this make the prompt due.
constexpr qint64 kOperationsBeforePrompt = 20;

}  // namespace

QString usagesKey(const QString& version) {
    return formattedString(QStringLiteral("tessellib_%@_usages"), version);
}

QString askedKey(const QString& version) {
    return formattedString(QStringLiteral("tessellib_%@_asked"), version);
}

AlertRequest ratingAlert(const QString& appName) {
    AlertRequest alert;
    alert.title = formattedString(QStringLiteral("Rate %@?"), appName);
    alert.message = formattedString(
        QStringLiteral("You've used %@ to successfully perform 20 operations on your music, it "
                       "would be great if you could rate the app on the MacAppStore or on "
                       "MacUpdate! This message will not appear again for this version."),
        appName);
    alert.defaultButton = QStringLiteral("Rate on MacAppStore");
    alert.alternateButton = QStringLiteral("Don't rate");
    alert.otherButton = QStringLiteral("Rate on MacUpdate");
    return alert;
}

quint8 runRatingPrompt(SettingsStore& settings, const QString& appName, const QString& version,
                       const std::function<int(const AlertRequest&)>& ask) {
    if (settings.intValue(askedKey(version)) != 0 ||
        settings.intValue(usagesKey(version)) <= kOperationsBeforePrompt)
        return 0;
    const int answer = ask(ratingAlert(appName));
    settings.setIntValue(askedKey(version), 1);
    if (answer == kAlertDefault)
        return kLinkStoreApp;
    return answer == kAlertOther ? kLinkUpdatesPage : 0;
}

}  // namespace tessel
