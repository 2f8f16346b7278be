// What a tool subcommand prints at the end: the preview of the change list (info line and
// rows) and the outcome, as text for people or as one JSON object for scripts.
#pragma once

#include "TerminalPresenter.h"
#include "changes/ChangeRecord.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

namespace tessel::cli {

struct RunReport {
    QString action;                     // the controller action that ran
    QList<AlertRecord> alerts;          // in the order they were shown
    std::optional<ChangeList> changes;  // the list proposed, with the rows as checked
    QString info;                       // its info line
    QString note;                       // what the tool passed over; empty: nothing
    QList<QVariant> locations;          // each record's file path; absent when unknown
    bool applied = false;               // every checked change was written
    QString result;                     // what the run ended with, for people; empty: none
};

/// The file path of each record's track (read before anything is applied).
QList<QVariant> locationsOf(const ChangeList& list);

/// {"action", "alerts", "changes", "applied", "result"}, one line.
QByteArray toJson(const RunReport& report);

/// The info line, one line per row ("   2 [x] Title | Artist | old → new") and the result.
QString toText(const RunReport& report);

}  // namespace tessel::cli
