#include "AboutPage.h"

#include "Binder.h"
#include "Icons.h"
#include "PageContext.h"
#include "support/TesselLib.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
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

void AboutPage::addDocument(const QString& title, const QString& resource) {
    auto* browser = new QTextBrowser;
    browser->setOpenExternalLinks(true);
    browser->setMarkdown(resourceText(resource));
    browser->setMinimumHeight(260);
    documents_->addTab(browser, title);
}

}  // namespace tessel::gui
