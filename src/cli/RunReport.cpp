#include "RunReport.h"

#include "tags/TagValue.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace tessel::cli {

namespace {

QJsonValue textOrNull(const QString& text) {
    return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

QJsonValue valueOrNull(const QVariant& value) {
    return isAbsent(value) ? QJsonValue() : QJsonValue::fromVariant(value);
}

QJsonArray alertsJson(const QList<AlertRecord>& alerts) {
    QJsonArray array;
    for (const AlertRecord& alert : alerts) {
        array.append(QJsonObject{{"title", alert.request.title},
                                 {"message", alert.request.message},
                                 {"buttons", QJsonArray::fromStringList(alert.buttons)},
                                 {"answer", alert.answer}});
    }
    return array;
}

QJsonValue changesJson(const RunReport& report) {
    if (!report.changes)
        return QJsonValue();
    QJsonArray records;
    for (qsizetype i = 0; i < report.changes->records.size(); ++i) {
        const ChangeRecord& record = report.changes->records.at(i);
        records.append(QJsonObject{{"row", static_cast<int>(i + 1)},
                                   {"enabled", record.enabled},
                                   {"title", record.title},
                                   {"artist", record.artist},
                                   {"tagToChange", textOrNull(record.tagToChange)},
                                   {"oldTag", valueOrNull(record.oldTag)},
                                   {"newTag", valueOrNull(record.newTag)},
                                   {"location", valueOrNull(report.locations.value(i))}});
    }
    return QJsonObject{{"info", report.info},
                       {"note", textOrNull(report.note)},
                       {"playlist", report.changes->playlist},
                       {"remove", report.changes->remove},
                       {"trash", report.changes->trash},
                       {"records", records}};
}

// "%4li [%@] %@ | %@", and " | %@ → %@" for a tag change; put together directly, as a list of
// 100,000 rows is printed after the run.
QString rowText(qsizetype row, const ChangeRecord& record, bool membership) {
    QString text = QString::number(row).rightJustified(4) +
                   (record.enabled ? QStringLiteral(" [x] ") : QStringLiteral(" [ ] ")) +
                   record.title + QStringLiteral(" | ") + record.artist;
    if (!membership) {
        text += QStringLiteral(" | ") + valueText(record.oldTag) + QStringLiteral(" → ") +
                valueText(record.newTag);
    }
    return text;
}

}  // namespace

QList<QVariant> locationsOf(const ChangeList& list) {
    QList<QVariant> locations;
    for (const ChangeRecord& record : list.records) {
        try {
            const std::optional<QString> location = record.track.location();
            locations.append(location ? QVariant(*location) : QVariant());
        } catch (const TesselError&) {
            locations.append(QVariant());  // a library track gone meanwhile has no location
        }
    }
    return locations;
}

QByteArray toJson(const RunReport& report) {
    const QJsonObject object{{"action", report.action},
                             {"alerts", alertsJson(report.alerts)},
                             {"changes", changesJson(report)},
                             {"applied", report.applied},
                             {"result", textOrNull(report.result)}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

QString toText(const RunReport& report) {
    QString text;
    if (report.changes) {
        text.reserve(report.changes->records.size() * 100);  // a row is usually shorter
        text += report.info + u'\n';
        if (!report.note.isEmpty())
            text += report.note + u'\n';
        for (qsizetype i = 0; i < report.changes->records.size(); ++i) {
            text += rowText(i + 1, report.changes->records.at(i), report.changes->playlist) + u'\n';
        }
    }
    if (!report.result.isEmpty())
        text += report.result + u'\n';
    return text;
}

}  // namespace tessel::cli
