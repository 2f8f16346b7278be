#include "ProgressSheet.h"

#include "SheetPlacement.h"
#include "app/AppDelegate.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessel::gui {

ProgressSheet::ProgressSheet(AppDelegate& delegate, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      delegate_(delegate),
      title_(new QLabel),
      detail_(new QLabel),
      indicator_(new QProgressBar),
      cancel_(new QPushButton(tr("Cancel"))) {
    setWindowModality(Qt::WindowModal);
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    title_->setTextFormat(Qt::PlainText);
    detail_->setTextFormat(Qt::PlainText);
    // A long track title must not widen the sheet; it is shortened instead.
    detail_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    indicator_->setRange(0, 0);
    indicator_->setTextVisible(false);

    auto* column = new QVBoxLayout(this);
    column->addWidget(title_);
    column->addWidget(detail_);
    column->addWidget(indicator_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancel_);
    column->addLayout(buttons);
    cancel_->setAutoDefault(false);
    cancel_->hide();
    connect(cancel_, &QPushButton::clicked, this, &ProgressSheet::cancelRun);
    setMinimumWidth(420);
    adjustSize();

    connect(&delegate_, &AppDelegate::currentProgressTitleChanged, this, &ProgressSheet::showTitle);
    connect(&delegate_, &AppDelegate::currentProgressDetailChanged, this,
            &ProgressSheet::showDetail);
}

void ProgressSheet::present(QWidget* host) {
    if (host && host != parentWidget())
        setParent(host, windowFlags());
    setWindowFlag(Qt::WindowCloseButtonHint, delegate_.runCancellable());
    cancel_->setVisible(delegate_.runCancellable());
    cancel_->setEnabled(true);
    showTitle();
    showDetail();
    placeAsSheet(this, parentWidget());
    open();
}

void ProgressSheet::dismiss() {
    QDialog::done(Accepted);
}

void ProgressSheet::reject() {
    // Escape stops a run that can stop; any other goes on, and so does the sheet.
    cancelRun();
}

void ProgressSheet::cancelRun() {
    if (!delegate_.runCancellable() || !cancel_->isEnabled())
        return;
    cancel_->setEnabled(false);
    delegate_.cancelRun();
}

void ProgressSheet::closeEvent(QCloseEvent* event) {
    // The sheet goes when the run ends; closing it asks a run that can stop to stop.
    event->ignore();
    cancelRun();
}

void ProgressSheet::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    showDetail();
}

void ProgressSheet::showTitle() {
    title_->setText(delegate_.currentProgressTitle());
    setWindowTitle(delegate_.currentProgressTitle());
}

void ProgressSheet::showDetail() {
    detailText_ = delegate_.currentProgressDetail();
    const int steps = delegate_.currentProgressSteps();
    indicator_->setRange(0, steps);
    if (steps > 0)
        indicator_->setValue(delegate_.currentProgressStep());
    detail_->setText(
        detail_->fontMetrics().elidedText(detailText_, Qt::ElideMiddle, detail_->width()));
}

}  // namespace tessel::gui
