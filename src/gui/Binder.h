// Binds controls to the properties of a model object both ways: a control shows its
// property's value and follows its change signal, and a user's edit is written back through
// the property system. Controls can also be enabled or shown by a property's value through a
// named value transformer. Every bound property must exist and have a change signal.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <functional>

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace tessel::gui {

class Binder : public QObject {
    Q_OBJECT

  public:
    /// When a text field writes its text to its property.
    enum class Commit {
        OnEditingFinished,  // Return, leaving the field, or endEditing()
        WhileTyping,        // at every keystroke
    };

    /// model must outlive the bound controls' use of it.
    explicit Binder(QObject* model, QObject* parent = nullptr);

    /// The combo box's current index <-> an integer property.
    void bindIndex(QComboBox* box, const char* property);
    /// The combo box's items <- a list-of-text property, and its current index <-> an integer
    /// property. A new list keeps the chosen item where it still is (writing its new index when
    /// it moved), else the index the property holds.
    void bindItems(QComboBox* box, const char* listProperty, const char* indexProperty);
    /// A check box or any checkable button <-> a truth-value property.
    void bindChecked(QAbstractButton* button, const char* property);
    /// The checked button's id <-> an integer property; values without a button of their
    /// own check the button otherId.
    void bindChoice(QButtonGroup* group, const char* property, int otherId);
    /// A text field <-> a text property (empty text is written as the empty text).
    void bindText(QLineEdit* field, const char* property,
                  Commit commit = Commit::OnEditingFinished);
    /// A whole-number field <-> a number property: an empty field (or a lone minus sign) is
    /// the absent value, digits are a number. Committed like OnEditingFinished.
    void bindNumber(QLineEdit* field, const char* property);
    /// A label <- any property, shown through format.
    void bindLabel(QLabel* label, const char* property,
                   std::function<QString(const QVariant&)> format = {});

    /// Enables the widget while the named transformer gives true for the value at keyPath:
    /// a property name, or "name.length" for the length of a text or list property.
    void bindEnabled(QWidget* widget, const QString& keyPath, const QString& transformerName);
    /// Shows the widget while the named transformer gives true for the value at keyPath.
    void bindVisible(QWidget* widget, const QString& keyPath, const QString& transformerName);

    /// Writes every text field that commits on editing finished to its property, so text typed
    /// but not yet committed is what a tool sees.
    void endEditing();

    /// The value at keyPath of the model (see bindEnabled).
    QVariant valueAt(const QString& keyPath) const;

  private:
    /// Calls update now and whenever the property named by keyPath changes, as long as
    /// owner lives.
    void observe(const QString& keyPath, QObject* owner, std::function<void()> update);
    void bindTransformed(QWidget* widget, const QString& keyPath, const QString& transformerName,
                         std::function<void(QWidget*, bool)> apply);
    void addCommit(QLineEdit* field, std::function<void()> commit);
    void write(const char* property, const QVariant& value);

    struct PendingCommit {
        QPointer<QLineEdit> field;
        std::function<void()> commit;
    };

    QObject* model_;
    QList<PendingCommit> commits_;
};

}  // namespace tessel::gui
