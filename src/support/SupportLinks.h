// The vendor's links: the support-request and beta-test mails, the problem report of a fatal
// error and the product pages, chosen by link code. Pure composition: everything that goes
// into an address is given, so the same inputs always give the same address.
#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

namespace tessel {

/// The vendor's addresses; an empty one counts as missing.
struct VendorAddresses {
    QString feedbackEmail;       // recipient of the support and beta-test mails
    QString supportAddress;      // built in: problem reports, and the support mail's fallback
    QString vendorWebAddress;    // built in: the product page's fallback
    QString vendorProductPage;   // the vendor's page for this product
    QString storeProductPage;    // the product's store page, in the browser
    QString storeAppPage;        // the product in the desktop's software centre
    QString updatesProductPage;  // the product's page on an update-tracking site

    /// The values the program was built with.
    static VendorAddresses configured();
};

/// What a support link is composed from.
struct SupportContext {
    VendorAddresses addresses;
    QString appName;
    QString version;  // the short version string
    qint32 build = 0;
    QString machineModel;
    QString osVersion;
    qsizetype crashReports = 0;
    QByteArray preferences;  // the preferences file when it is to be attached, else empty
};

/// The codes of the vendor's links (the About page's buttons carry them as their tag).
enum LinkCode : quint8 {
    kLinkSupportMail = 1,
    kLinkBetaMail = 2,
    kLinkVendorPage = 3,
    kLinkStorePage = 4,
    kLinkStoreApp = 5,
    kLinkUpdatesPage = 6,
};

/// The address link code opens; an empty URL (opening nothing) for a code outside 1-6 or an
/// address that is missing.
QUrl linkURL(quint8 code, const SupportContext& context);

/// " Problems: N" when there are crash reports, else empty.
QString problemsPiece(qsizetype crashReports);

/// The support-request mail's subject and body.
QString supportSubject(const SupportContext& context);
QString supportBody(const SupportContext& context);

/// The mail that reports a fatal error to the built-in support address; it carries the
/// whole detail.
QUrl problemReportURL(const SupportContext& context, const QString& message, const QString& detail);

/// A mailto: address with the subject and body escaped as query values.
QUrl mailURL(const QString& recipient, const QString& subject, const QString& body);

}  // namespace tessel
