#include "Binder.h"

#include "app/ValueTransformers.h"
#include "tags/TagValue.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMetaProperty>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>

#include <stdexcept>

namespace tessel::gui {

namespace {

// Receives a property's change signal; QMetaObject can only connect signals to methods.
class PropertyWatcher : public QObject {
    Q_OBJECT

  public:
    PropertyWatcher(QObject* owner, std::function<void()> update)
        : QObject(owner), update_(std::move(update)) {}

  public slots:
    void notify() { update_(); }

  private:
    std::function<void()> update_;
};

const QString kLengthKey = QStringLiteral("length");

QMetaProperty notifyingProperty(const QObject* model, const QByteArray& name) {
    const QMetaObject* meta = model->metaObject();
    const QMetaProperty property = meta->property(meta->indexOfProperty(name.constData()));
    if (!property.isValid() || !property.hasNotifySignal())
        throw std::logic_error("no property with a change signal named " + name.toStdString());
    return property;
}

QByteArray propertyName(const QString& keyPath) {
    return keyPath.section(u'.', 0, 0).toLatin1();
}

// Up to ten digits: every 32-bit number fits, and the tools clamp what does not.
const QRegularExpression kWholeNumber(QStringLiteral("-?\\d{0,10}"));

QVariant numberIn(const QString& text) {
    bool ok = false;
    const qlonglong number = text.toLongLong(&ok);
    return ok ? QVariant(number) : QVariant();
}

}  // namespace

Binder::Binder(QObject* model, QObject* parent) : QObject(parent), model_(model) {}

QVariant Binder::valueAt(const QString& keyPath) const {
    const QVariant value = model_->property(propertyName(keyPath).constData());
    const QString key = keyPath.section(u'.', 1);
    if (key.isEmpty())
        return value;
    if (key != kLengthKey)
        throw std::logic_error("unknown key " + key.toStdString());
    if (value.typeId() == QMetaType::QStringList)
        return static_cast<int>(value.toStringList().size());
    return static_cast<int>(value.toString().size());
}

void Binder::observe(const QString& keyPath, QObject* owner, std::function<void()> update) {
    const QMetaProperty property = notifyingProperty(model_, propertyName(keyPath));
    auto* watcher = new PropertyWatcher(owner, update);
    const QMetaObject* meta = watcher->metaObject();
    QObject::connect(model_, property.notifySignal(), watcher,
                     meta->method(meta->indexOfSlot("notify()")));
    update();
}

void Binder::write(const char* property, const QVariant& value) {
    model_->setProperty(property, value);
}

void Binder::bindIndex(QComboBox* box, const char* property) {
    observe(QString::fromLatin1(property), box, [this, box, property] {
        const QSignalBlocker blocker(box);
        box->setCurrentIndex(model_->property(property).toInt());
    });
    connect(box, &QComboBox::currentIndexChanged, this, [this, property](int index) {
        if (index >= 0)
            write(property, index);
    });
}

void Binder::bindItems(QComboBox* box, const char* listProperty, const char* indexProperty) {
    observe(QString::fromLatin1(listProperty), box, [this, box, listProperty, indexProperty] {
        const QStringList items = model_->property(listProperty).toStringList();
        const QString chosen = box->currentText();
        const QSignalBlocker blocker(box);
        box->clear();
        box->addItems(items);
        // An item that moved in the new list stays the chosen one (a playlist added before it).
        const int index = model_->property(indexProperty).toInt();
        const int moved = chosen.isEmpty() ? -1 : static_cast<int>(items.indexOf(chosen));
        if (moved >= 0 && items.value(index) != chosen)
            write(indexProperty, moved);
        box->setCurrentIndex(model_->property(indexProperty).toInt());
    });
    bindIndex(box, indexProperty);
}

void Binder::bindChecked(QAbstractButton* button, const char* property) {
    observe(QString::fromLatin1(property), button, [this, button, property] {
        const QSignalBlocker blocker(button);
        button->setChecked(model_->property(property).toBool());
    });
    connect(button, &QAbstractButton::toggled, this,
            [this, property](bool checked) { write(property, checked); });
}

void Binder::bindChoice(QButtonGroup* group, const char* property, int otherId) {
    observe(QString::fromLatin1(property), group, [this, group, property, otherId] {
        QAbstractButton* button = group->button(model_->property(property).toInt());
        if (!button)
            button = group->button(otherId);
        const QSignalBlocker blocker(group);
        if (button)
            button->setChecked(true);
    });
    connect(group, &QButtonGroup::idToggled, this, [this, property](int id, bool checked) {
        if (checked)
            write(property, id);
    });
}

void Binder::bindText(QLineEdit* field, const char* property, Commit commit) {
    observe(QString::fromLatin1(property), field, [this, field, property] {
        const QString text = model_->property(property).toString();
        if (field->text() != text)
            field->setText(text);
    });
    auto write = [this, field, property] { this->write(property, field->text()); };
    if (commit == Commit::WhileTyping) {
        connect(field, &QLineEdit::textEdited, this, write);
    } else {
        connect(field, &QLineEdit::editingFinished, this, write);
        addCommit(field, write);
    }
}

void Binder::bindNumber(QLineEdit* field, const char* property) {
    field->setValidator(new QRegularExpressionValidator(kWholeNumber, field));
    observe(QString::fromLatin1(property), field, [this, field, property] {
        // Text that already means the value ("-", "007") is left as the user typed it.
        const QVariant value = model_->property(property);
        const QVariant shown = numberIn(field->text());
        if (isAbsent(value) != isAbsent(shown) ||
            (!isAbsent(value) && value.toLongLong() != shown.toLongLong()))
            field->setText(isAbsent(value) ? QString() : QString::number(value.toLongLong()));
    });
    auto write = [this, field, property] { this->write(property, numberIn(field->text())); };
    connect(field, &QLineEdit::editingFinished, this, write);
    addCommit(field, write);
}

void Binder::bindLabel(QLabel* label, const char* property,
                       std::function<QString(const QVariant&)> format) {
    observe(QString::fromLatin1(property), label, [this, label, property, format] {
        const QVariant value = model_->property(property);
        label->setText(format ? format(value) : value.toString());
    });
}

void Binder::bindEnabled(QWidget* widget, const QString& keyPath, const QString& transformerName) {
    bindTransformed(widget, keyPath, transformerName,
                    [](QWidget* target, bool on) { target->setEnabled(on); });
}

void Binder::bindVisible(QWidget* widget, const QString& keyPath, const QString& transformerName) {
    bindTransformed(widget, keyPath, transformerName,
                    [](QWidget* target, bool on) { target->setVisible(on); });
}

void Binder::bindTransformed(QWidget* widget, const QString& keyPath,
                             const QString& transformerName,
                             std::function<void(QWidget*, bool)> apply) {
    const ValueTransformer* transformer = valueTransformerForName(transformerName);
    if (!transformer)
        throw std::logic_error("no value transformer named " + transformerName.toStdString());
    observe(keyPath, widget, [this, widget, keyPath, transformer, apply] {
        apply(widget, transformer->transformedValue(valueAt(keyPath)).toBool());
    });
}

void Binder::addCommit(QLineEdit* field, std::function<void()> commit) {
    commits_.append({field, std::move(commit)});
}

void Binder::endEditing() {
    for (const PendingCommit& pending : std::as_const(commits_)) {
        if (pending.field)
            pending.commit();
    }
}

}  // namespace tessel::gui

#include "Binder.moc"
