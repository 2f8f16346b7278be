#include "EncodingConverter.h"

#include "CollectChanges.h"
#include "TextEncodings.h"
#include "tags/TagCatalogue.h"
#include "tags/TagValue.h"

namespace tessel {

EncodingConverter::EncodingConverter(Options options) : options_(options) {}

std::optional<AlertRequest> EncodingConverter::validate() {
    const int tag = options_.selectedTag;
    if (tag < 0 || tag >= catalogue::tags().size()) {
        return okAlert(QStringLiteral("Invalid Tag"),
                       QStringLiteral("You need to select a tag to use the Encoding Converter."));
    }
    if (!textEncodingAt(options_.selectedEncodingFrom) ||
        !textEncodingAt(options_.selectedEncodingTo)) {
        return okAlert(QStringLiteral("Invalid Encoding"),
                       QStringLiteral("You need to select the encodings to convert from and "
                                      "to."));
    }
    return std::nullopt;
}

Collection EncodingConverter::collect(const TrackGatherer& gather, ProgressSink& progress) const {
    const int from = options_.selectedEncodingFrom;
    const int to = options_.selectedEncodingTo;
    return collectNewTexts(
        gather, progress, catalogue::tags().at(options_.selectedTag),
        [from, to](const QString& value) { return converted(value, from, to); }, FileNeed::Any);
}

AlertRequest EncodingConverter::noChangesAlert() {
    return okAlert(QStringLiteral("No Changes"),
                   QStringLiteral("The Encoding Conversion you've entered doesn't lead to any "
                                  "changes in the tracks you've selected."));
}

std::optional<QString> EncodingConverter::converted(const QString& value, int from, int to) {
    const auto fromEncoding = textEncodingAt(from);
    const auto toEncoding = textEncodingAt(to);
    if (!fromEncoding || !toEncoding)
        return std::nullopt;
    return decodeStrict(encodeLossy(value, *fromEncoding), *toEncoding);
}

}  // namespace tessel
