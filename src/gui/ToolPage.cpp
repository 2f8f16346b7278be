#include "ToolPage.h"

#include "Icons.h"
#include "PageContext.h"
#include "PopUpButton.h"
#include "TrackSourceBox.h"
#include "app/AppDelegate.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace tessel::gui {

ToolPage::ToolPage(PageContext& context, QWidget* parent)
    : QWidget(parent),
      context_(context),
      source_(new TrackSourceBox(context)),
      form_(new QFormLayout),
      help_(new QToolButton),
      start_(new QPushButton) {
    auto* options = new QGroupBox(tr("Options"));
    options->setLayout(form_);
    form_->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);

    auto* column = new QVBoxLayout(this);
    column->addWidget(source_);
    column->addWidget(options);
    column->addStretch(1);
}

QWidget* ToolPage::bottomRow() {
    help_->setIcon(themedIcon(QStringLiteral("help-contents"), QStringLiteral("help")));
    help_->setIconSize(QSize(22, 22));
    help_->setToolTip(tr("Help for this tool (F1)"));
    help_->setAccessibleName(tr("Help"));
    help_->setFocusPolicy(Qt::StrongFocus);
    connect(help_, &QToolButton::clicked, this, [this] { context_.openHelp(); });

    start_->setDefault(true);
    start_->setMinimumWidth(120);

    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(help_);
    layout->addStretch(1);
    layout->addWidget(start_);
    return row;
}

PopUpButton* ToolPage::addPopUp(int tag) {
    auto* popUp = new PopUpButton(tag);
    connect(popUp, &PopUpButton::willPopUp, &context_.delegate, &AppDelegate::popUp);
    return popUp;
}

void ToolPage::setStart(const QString& title, std::function<void()> start) {
    start_->setText(title);
    connect(start_, &QPushButton::clicked, this, std::move(start));
    // Added after the options, so Tab reaches the two buttons last.
    layout()->addWidget(bottomRow());
}

void ToolPage::keyPressEvent(QKeyEvent* event) {
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (isReturn && modifiers == Qt::NoModifier && start_->isEnabled()) {
        start_->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace tessel::gui
