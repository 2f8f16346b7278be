#include "TagCatalogue.h"

namespace tessel::catalogue {

const QStringList& tags() {
    static const QStringList list{"name",  "artist",  "album",    "lyrics",
                                  "genre", "comment", "composer", "albumArtist"};
    return list;
}

const QStringList& readableTags() {
    static const QStringList list{"Title", "Artist",  "Album",    "Lyrics",
                                  "Genre", "Comment", "Composer", "Album Artist"};
    return list;
}

const QStringList& integerTags() {
    static const QStringList list{"playedCount", "skippedCount",     "bpm",         "rating",
                                  "year",        "volumeAdjustment", "trackNumber", "trackCount",
                                  "discNumber",  "discCount"};
    return list;
}

const QStringList& readableIntegerTags() {
    static const QStringList list{"Play Count",  "Skip Count", "BPM",          "Rating",
                                  "Year",        "Volume",     "Track Number", "Total Tracks",
                                  "Disc Number", "Total Discs"};
    return list;
}

const QStringList& allTags() {
    static const QStringList list = tags() + integerTags() + QStringList{"cover"};
    return list;
}

const QStringList& allReadableTags() {
    static const QStringList list =
        readableTags() + readableIntegerTags() + QStringList{"EmbeddedCover"};
    return list;
}

QString readableName(const QString& identifier) {
    const qsizetype i = allTags().indexOf(identifier);
    return i < 0 ? identifier : allReadableTags().at(i);
}

QString identifierFor(const QString& text) {
    for (qsizetype i = 0; i < allTags().size(); ++i) {
        if (allTags().at(i).compare(text, Qt::CaseInsensitive) == 0 ||
            allReadableTags().at(i).compare(text, Qt::CaseInsensitive) == 0)
            return allTags().at(i);
    }
    if (text.compare(QStringLiteral("title"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("name");
    return {};
}

}  // namespace tessel::catalogue
