// The once-per-version request to rate the application, asked at launch of a regular user:
// after more than 20 completed operations of this version, and never again for it.
#pragma once

#include "Presenter.h"
#include "Settings.h"

#include <QString>

#include <functional>

namespace tessel {

/// "tessellib_%@_usages": the operations completed with this short version.
QString usagesKey(const QString& version);
/// "tessellib_%@_asked": 1 once the prompt was shown for this short version.
QString askedKey(const QString& version);

/// The prompt's alert for the application's name.
AlertRequest ratingAlert(const QString& appName);

/// Shows the prompt through ask when it is due and marks it asked, whatever the answer.
/// Returns the link code the answer opens: the store application for the default button,
/// the update site's page for the other one, and 0 (nothing) otherwise.
quint8 runRatingPrompt(SettingsStore& settings, const QString& appName, const QString& version,
                       const std::function<int(const AlertRequest&)>& ask);

}  // namespace tessel
