#include "HelpSheet.h"

#include "AboutPage.h"
#include "PageContext.h"
#include "SheetPlacement.h"
#include "support/FormattedString.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace tessel::gui {

HelpSheet::HelpSheet(QWidget* parent)
    : QDialog(parent), title_(new QLabel), info_(new QLabel), document_(new QTextBrowser) {
    setWindowModality(Qt::WindowModal);
    QFont large = title_->font();
    large.setPointSizeF(large.pointSizeF() * 1.3);
    large.setBold(true);
    title_->setFont(large);
    info_->setWordWrap(true);
    document_->setOpenExternalLinks(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &HelpSheet::reject);

    auto* column = new QVBoxLayout(this);
    column->addWidget(title_);
    column->addWidget(info_);
    column->addWidget(document_, 1);
    column->addWidget(buttons);
    resize(640, 540);
}

void HelpSheet::present(int index) {
    const QString name = toolName(index);
    const QString title = formattedString(QStringLiteral("%@ Tool Help"), name);
    title_->setText(title);
    setWindowTitle(title);
    info_->setText(formattedString(
        QStringLiteral("Info: this is the specific help for the '%@' tool, for general "
                       "instructions click the 'Documentation' tab"),
        name));
    document_->setMarkdown(resourceText(QStringLiteral(":/help/help_%1.md").arg(index)));
    document_->verticalScrollBar()->setValue(0);
    document_->horizontalScrollBar()->setValue(0);
    placeAsSheet(this, parentWidget());
    open();
}

}  // namespace tessel::gui
