#include "PassedOver.h"

#include <QStringList>

namespace tessel {

namespace {

PassedOver* find(QList<PassedOver>& list, const QString& one) {
    for (PassedOver& kind : list) {
        if (kind.one == one)
            return &kind;
    }
    return nullptr;
}

}  // namespace

void passOver(QList<PassedOver>& list, const QString& one, const QString& many) {
    if (PassedOver* kind = find(list, one))
        ++kind->count;
    else
        list.append({one, many, 1});
}

void passOver(QList<PassedOver>& list, const QList<PassedOver>& more) {
    for (const PassedOver& kind : more) {
        if (PassedOver* known = find(list, kind.one))
            known->count += kind.count;
        else
            list.append(kind);
    }
}

QString passedOverLine(const QList<PassedOver>& list) {
    QStringList parts;
    for (const PassedOver& kind : list) {
        if (kind.count > 0)
            parts.append(QStringLiteral("%1 %2")
                             .arg(kind.count)
                             .arg(kind.count == 1 ? kind.one : kind.many));
    }
    if (parts.isEmpty())
        return {};
    return QStringLiteral("Passed over: ") + parts.join(QStringLiteral("; ")) + u'.';
}

}  // namespace tessel
