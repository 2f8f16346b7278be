#include "NumericRun.h"

#include "foundation/StringHelpers.h"
#include "model/TrackGathering.h"
#include "support/FormattedString.h"
#include "tags/TagValue.h"

#include <QDebug>

namespace tessel {

NumericOutcome runNumeric(const NumericTagChanger& tool,
                          const itunes::ApplicationProvider& application, ProgressSink& progress) {
    NumericOutcome outcome;
    const auto selection = [&] {
        const QList<itunes::TrackPtr> tracks = selectedTracks(*application());
        outcome.selectionRead = true;
        outcome.selected = static_cast<int>(tracks.size());
        return tracks;
    };
    try {
        tool.run(selection, progress);
    } catch (const TesselError& error) {
        outcome.error = error;
    } catch (const std::exception& error) {
        // Nothing but the library should fail here; whatever did must still reach the user.
        outcome.error = TesselError(QStringLiteral("Numeric Tag Changer Failed"),
                                    QString::fromLocal8Bit(error.what()));
    }
    if (outcome.error)
        qWarning().noquote() << outcome.error->description();
    return outcome;
}

std::optional<AlertRequest> numericStoppedAlert(const NumericOutcome& outcome) {
    if (!outcome.error)
        return std::nullopt;
    const QString reason = sentence(outcome.error->reason());
    if (!outcome.selectionRead)
        return okAlert(outcome.error->name(), reason);
    return okAlert(QStringLiteral("Changes Not Completed"),
                   formattedString(QStringLiteral("The Numeric Tag Changer stopped at a "
                                                  "track: %@ The selected tracks before it "
                                                  "were written; it and the ones after it "
                                                  "were not changed."),
                                   reason));
}

std::optional<double> enteredNumber(const QVariant& field) {
    if (isAbsent(field))
        return std::nullopt;
    if (field.typeId() == QMetaType::QString && field.toString().trimmed().isEmpty())
        return std::nullopt;
    bool ok = false;
    const double number = field.toDouble(&ok);
    return ok ? std::optional(number) : std::nullopt;
}

}  // namespace tessel
