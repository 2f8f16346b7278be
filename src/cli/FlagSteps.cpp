#include "FlagSteps.h"

#include "app/AppDelegate.h"
#include "tags/TagCatalogue.h"

namespace tessel::cli {

namespace {

QString folded(const QString& name) {
    QString text = name.toLower();
    text.remove(u'-');
    text.remove(u'_');
    text.remove(u' ');
    return text;
}

QString tagChoices(const QStringList& tags) {
    QStringList choices;
    for (const QString& tag : tags)
        choices.append(tag + " (" + catalogue::readableName(tag) + ')');
    return choices.join(QStringLiteral(", "));
}

}  // namespace

Step setTo(const char* option, const QVariant& value) {
    return [name = QByteArray(option), value](AppDelegate& delegate) {
        delegate.setProperty(name.constData(), value);
    };
}

Step tagStep(const QString& flag, const char* option, const QStringList& tags,
             const QString& text) {
    const QString identifier = catalogue::identifierFor(text.trimmed());
    const qsizetype index = identifier.isEmpty() ? -1 : tags.indexOf(identifier);
    if (index < 0)
        throw UsageError{
            QStringLiteral("%1: '%2' is not one of %3").arg(flag, text, tagChoices(tags))};
    return setTo(option, static_cast<int>(index));
}

Step choiceStep(const QString& flag, const char* option, const QList<QStringList>& choices,
                const QString& text) {
    bool isNumber = false;
    const int number = text.trimmed().toInt(&isNumber);
    if (isNumber && number >= 0 && number < choices.size())
        return setTo(option, number);
    for (qsizetype i = 0; i < choices.size(); ++i) {
        for (const QString& name : choices.at(i)) {
            if (!isNumber && folded(name) == folded(text))
                return setTo(option, static_cast<int>(i));
        }
    }
    throw UsageError{QStringLiteral("%1: '%2' is not one of %3 (or 0-%4)")
                         .arg(flag, text, choiceNames(choices).replace(u'|', QStringLiteral(", ")),
                              QString::number(choices.size() - 1))};
}

QString choiceNames(const QList<QStringList>& choices) {
    QStringList names;
    for (const QStringList& choice : choices)
        names.append(choice.first());
    return names.join(u'|');
}

QVariant numberValue(const QString& flag, const QString& text) {
    if (text.trimmed().isEmpty())
        return QVariant();
    bool ok = false;
    const double number = text.trimmed().toDouble(&ok);
    if (!ok)
        throw UsageError{QStringLiteral("%1: '%2' is not a number").arg(flag, text)};
    return number;
}

}  // namespace tessel::cli
