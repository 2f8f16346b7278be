#include "ToolPage.h"

#include "Binder.h"
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

namespace {

QPushButton* startButtonFor(QWidget* page, const QString& title, std::function<void()> start) {
    auto* button = new QPushButton(title);
    button->setDefault(true);
    button->setMinimumWidth(120);
    QObject::connect(button, &QPushButton::clicked, page, std::move(start));
    return button;
}

}  // namespace

ToolPage::ToolPage(PageContext& context, QWidget* parent)
    : QWidget(parent),
      context_(context),
      source_(new TrackSourceBox(context)),
      form_(new QFormLayout),
      help_(new QToolButton) {
    auto* options = new QGroupBox(tr("Options"));
    options->setLayout(form_);
    form_->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);

    auto* column = new QVBoxLayout(this);
    column->addWidget(source_);
    column->addWidget(options);
    column->addStretch(1);
}

PopUpButton* ToolPage::addPopUp(int tag) {
    auto* popUp = new PopUpButton(tag);
    connect(popUp, &PopUpButton::willPopUp, &context_.delegate, &AppDelegate::popUp);
    return popUp;
}

void ToolPage::bindRowVisible(QFormLayout* form, QWidget* field, const QString& keyPath,
                              const QString& transformerName) {
    context_.binder.bindVisible(field, keyPath, transformerName);
    if (QWidget* label = form->labelForField(field))
        context_.binder.bindVisible(label, keyPath, transformerName);
}

void ToolPage::setStart(const QString& title, std::function<void()> start) {
    start_ = startButtonFor(this, title, std::move(start));
    addBottomRow(start_);
}

QPushButton* ToolPage::sectionStart(QWidget* section, const QString& title,
                                    std::function<void()> start) {
    QPushButton* button = startButtonFor(this, title, std::move(start));
    sections_.append({section, button});
    return button;
}

void ToolPage::finishSections() {
    addBottomRow(nullptr);
}

// Added after the options, so Tab reaches the bottom row last.
void ToolPage::addBottomRow(QPushButton* start) {
    help_->setIcon(toolIcon(QStringLiteral("help"), palette()));
    help_->setIconSize(QSize(22, 22));
    help_->setToolTip(tr("Help for this tool (F1)"));
    help_->setAccessibleName(tr("Help"));
    help_->setFocusPolicy(Qt::StrongFocus);
    connect(help_, &QToolButton::clicked, this, [this] { context_.openHelp(); });

    auto* row = new QHBoxLayout;
    row->addWidget(help_);
    row->addStretch(1);
    if (start)
        row->addWidget(start);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
}

QPushButton* ToolPage::defaultButton() const {
    const QWidget* focus = focusWidget();
    for (const Section& section : sections_) {
        if (focus && section.section->isAncestorOf(focus))
            return section.start;
    }
    return start_;
}

void ToolPage::keyPressEvent(QKeyEvent* event) {
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    QPushButton* button = defaultButton();
    if (isReturn && modifiers == Qt::NoModifier && button && button->isEnabled()) {
        button->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace tessel::gui
