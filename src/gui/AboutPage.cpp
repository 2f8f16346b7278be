#include "AboutPage.h"

#include "Binder.h"
#include "Icons.h"
#include "PageContext.h"
#include "app/AppDelegate.h"
#include "support/SupportLinks.h"
#include "support/TesselLib.h"

#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace tessel::gui {

QString resourceText(const QString& resource) {
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

AboutPage::AboutPage(PageContext& context, QWidget* parent)
    : QWidget(parent), documents_(new QTabWidget) {
    // The Read Me holds the general instructions the tool help sends people to.
    addDocument(tr("Documentation"), QStringLiteral(":/about/Read Me.md"));
    addDocument(tr("FAQ"), QStringLiteral(":/about/FAQ.md"));
    addDocument(tr("History"), QStringLiteral(":/about/History.md"));
    addDocument(tr("Credits"), QStringLiteral(":/about/Credits.md"));

    auto* column = new QVBoxLayout(this);
    column->addWidget(header(context));
    column->addWidget(links(context));
    column->addWidget(documents_, 1);
}

QWidget* AboutPage::header(PageContext& context) {
    auto* icon = new QLabel;
    icon->setPixmap(applicationIcon().pixmap(64, 64));
    auto* name =
        new QLabel(TesselLib::exists() ? TesselLib::shared().appName() : QStringLiteral("Tessel"));
    QFont large = name->font();
    large.setPointSizeF(large.pointSizeF() * 1.6);
    large.setBold(true);
    name->setFont(large);
    auto* version = new QLabel;
    auto* build = new QLabel;
    context.binder.bindLabel(version, "version");
    context.binder.bindLabel(build, "build");

    auto* lines = new QVBoxLayout;
    lines->addWidget(name);
    lines->addWidget(version);
    lines->addWidget(build);
    auto* header = new QWidget;
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(icon);
    row->addLayout(lines, 1);
    return header;
}

QWidget* AboutPage::links(PageContext& context) {
    auto* links = new QWidget;
    auto* row = new QHBoxLayout(links);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(linkButton(context, tr("Contact Support…"), kLinkSupportMail,
                              tr("Writes a support request in your mail program, with the "
                                 "details of this computer. Hold Alt to attach your "
                                 "preferences.")));
    row->addWidget(linkButton(context, tr("Test Beta Versions…"), kLinkBetaMail,
                              tr("Asks by mail to test upcoming versions.")));
    row->addWidget(linkButton(context, tr("Product Page"), kLinkVendorPage,
                              tr("Opens the product's page in your browser.")));
    row->addWidget(linkButton(context, tr("Store Page"), kLinkStorePage,
                              tr("Opens the product's store page in your browser.")));
    row->addStretch(1);
    return links;
}

QPushButton* AboutPage::linkButton(PageContext& context, const QString& title, int code,
                                   const QString& toolTip) {
    auto* button = new QPushButton(title);
    // As rich text the tip wraps instead of running off the screen.
    button->setToolTip(QStringLiteral("<p>") + toolTip.toHtmlEscaped() + QStringLiteral("</p>"));
    button->setAutoDefault(false);
    // The link code travels as the button's tag, like every link button of the program.
    button->setProperty("tag", code);
    AppDelegate& delegate = context.delegate;
    connect(button, &QPushButton::clicked, this, [button, &delegate] {
        const bool alt = QGuiApplication::keyboardModifiers().testFlag(Qt::AltModifier);
        delegate.openURL(button->property("tag").toInt(), alt);
    });
    return button;
}

void AboutPage::addDocument(const QString& title, const QString& resource) {
    auto* browser = new QTextBrowser;
    browser->setOpenExternalLinks(true);
    browser->setMarkdown(resourceText(resource));
    browser->setMinimumHeight(260);
    documents_->addTab(browser, title);
}

}  // namespace tessel::gui
