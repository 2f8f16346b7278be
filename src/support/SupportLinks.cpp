#include "SupportLinks.h"

#include "FormattedString.h"
#include "TesselConfig.h"
#include "foundation/StringHelpers.h"

namespace tessel {

namespace {

// An address that is no valid URL opens nothing rather than a mangled one.
QUrl validURL(const QString& address) {
    const QUrl url(address, QUrl::StrictMode);
    return url.isValid() ? url : QUrl();
}

QUrl webURL(const QString& address) {
    return address.isEmpty() ? QUrl() : validURL(address);
}

QString orFallback(const QString& value, const QString& fallback) {
    return value.isEmpty() ? fallback : value;
}

QUrl vendorPage(const SupportContext& context) {
    const VendorAddresses& addresses = context.addresses;
    if (!addresses.vendorProductPage.isEmpty())
        return webURL(addresses.vendorProductPage);
    const QString firstWord = context.appName.toLower().split(u' ').value(0);
    return webURL(formattedString(QStringLiteral("%@%@/"), addresses.vendorWebAddress, firstWord));
}

QUrl betaMail(const SupportContext& context) {
    return mailURL(context.addresses.feedbackEmail,
                   context.appName + QStringLiteral(" Beta Versions"),
                   formattedString(QStringLiteral("Hello\nI would like to test upcoming beta "
                                                  "versions of %@.\nBye\n"),
                                   context.appName));
}

QUrl supportMail(const SupportContext& context) {
    return mailURL(orFallback(context.addresses.feedbackEmail, context.addresses.supportAddress),
                   supportSubject(context), supportBody(context));
}

}  // namespace

VendorAddresses VendorAddresses::configured() {
    return {QString::fromUtf8(config::kFeedbackEmail),
            QString::fromUtf8(config::kSupportAddress),
            QString::fromUtf8(config::kVendorWebAddress),
            QString::fromUtf8(config::kVendorProductPage),
            QString::fromUtf8(config::kStoreProductPage),
            QString::fromUtf8(config::kStoreAppPage),
            QString::fromUtf8(config::kUpdatesProductPage)};
}

QUrl linkURL(quint8 code, const SupportContext& context) {
    switch (code) {
        case kLinkSupportMail:
            return supportMail(context);
        case kLinkBetaMail:
            return betaMail(context);
        case kLinkVendorPage:
            return vendorPage(context);
        case kLinkStorePage:
            return webURL(context.addresses.storeProductPage);
        case kLinkStoreApp:
            return webURL(context.addresses.storeAppPage);
        case kLinkUpdatesPage:
            return webURL(context.addresses.updatesProductPage);
        default:
            return {};
    }
}

QString problemsPiece(qsizetype crashReports) {
    return crashReports > 0 ? formattedString(QStringLiteral(" Problems: %li"), crashReports)
                            : QString();
}

QString supportSubject(const SupportContext& context) {
    return formattedString(QStringLiteral("%@ v%@ (%i) Support Request"), context.appName,
                           context.version, context.build);
}

QString supportBody(const SupportContext& context) {
    return QStringLiteral("Insert Support Request Here\n\n\n\nP.S: Hardware: ") +
           context.machineModel + QStringLiteral(" Software: ") + context.osVersion +
           problemsPiece(context.crashReports) + u'\n' +
           QString::fromLatin1(context.preferences.toBase64());
}

QUrl problemReportURL(const SupportContext& context, const QString& message,
                      const QString& detail) {
    const QString subject =
        formattedString(QStringLiteral("%@ v%@ Problem Report"), context.appName, context.version);
    const QString body =
        QStringLiteral("Hello\n") +
        formattedString(QStringLiteral("A fatal error in %@ occured (%@)."), context.appName,
                        message) +
        QStringLiteral("\n\nBye\n\nP.S. Details: ") + detail + QStringLiteral("\n\n\n") +
        formattedString(QStringLiteral("P.P.S: Hardware: %@ Software: %@ %@"), context.machineModel,
                        context.osVersion, problemsPiece(context.crashReports));
    return mailURL(context.addresses.supportAddress, subject, body);
}

QUrl mailURL(const QString& recipient, const QString& subject, const QString& body) {
    return validURL(QStringLiteral("mailto:") + recipient + QStringLiteral("?subject=") +
                    escaped(subject) + QStringLiteral("&body=") + escaped(body));
}

}  // namespace tessel
