#include "MusicTrack.h"

#include "support/TesselError.h"
#include "tags/FileTags.h"
#include "tags/PlayStats.h"
#include "tags/TagValue.h"

#include <algorithm>

namespace tessel {

namespace {

[[noreturn]] void refuseTag(const QString& message) {
    throw TesselError(errors::kUnsupportedTag, message);
}

QString propertyKey(const QString& tag) {
    return tag == u"title" ? QStringLiteral("name") : tag;
}

// A library track's tags that are read from its file rather than from the library.
bool isFromFile(const QString& tag) {
    return tag == kPlayStatsTag || tag == u"cover";
}

QString asText(const QVariant& value) {
    return isAbsent(value) ? QString() : stringValue(value);
}

}  // namespace

MusicTrack MusicTrack::withTrack(itunes::TrackPtr track) {
    MusicTrack result;
    result.track_ = std::move(track);
    return result;
}

MusicTrack MusicTrack::withPath(QString path) {
    MusicTrack result;
    result.path_ = std::move(path);
    return result;
}

QVariant MusicTrack::valueForTag(const QString& tag) const {
    return isLibraryTrack() ? libraryValue(tag) : fileValues({tag}).value(tag);
}

QVariantMap MusicTrack::valuesForTags(const QStringList& tags) const {
    if (!isLibraryTrack())
        return fileValues(tags);
    // The library's own values in one request; those that come from the file, one by one.
    QStringList keys;
    for (const QString& tag : tags) {
        if (!isFromFile(tag))
            keys.append(propertyKey(tag));
    }
    const QVariantMap read = track_->properties(keys);
    QVariantMap values;
    for (const QString& tag : tags) {
        values.insert(tag, isFromFile(tag) ? libraryValue(tag) : read.value(propertyKey(tag)));
    }
    return values;
}

void MusicTrack::setTag(const QString& tag, const QVariant& value) const {
    if (isLibraryTrack())
        setLibraryValue(tag, value);
    else
        setFileValue(tag, value);
}

bool MusicTrack::setTagIf(const QString& tag, const QVariant& value, const QStringList& tags,
                          const std::function<bool(const QVariantMap&)>& proceed) const {
    if (isLibraryTrack())
        return setLibraryValueIf(tag, value, tags, proceed);
    if (!filetags::isWritable(tag)) {
        // Read and checked first, as a separate read and write would; then refused.
        if (!proceed(fileValues(tags)))
            return false;
        refuseTag(unsupported::kFolderMessage);
    }
    for (const QString& name : tags) {
        if (!filetags::isReadable(name))
            refuseTag(unsupported::kFolderMessage);
    }
    return filetags::writeIf(path_, tags, proceed, tag, value);
}

QString MusicTrack::identity() const {
    return isLibraryTrack() ? QStringLiteral("track:") + track_->identity()
                            : QStringLiteral("file:") + path_;
}

QString MusicTrack::title() const {
    return asText(valueForTag(QStringLiteral("name")));
}

QString MusicTrack::artist() const {
    return asText(valueForTag(QStringLiteral("artist")));
}

QString MusicTrack::album() const {
    return asText(valueForTag(QStringLiteral("album")));
}

std::optional<QString> MusicTrack::location() const {
    const QVariant value = valueForTag(QStringLiteral("location"));
    if (isAbsent(value))
        return std::nullopt;
    return value.toString();
}

std::optional<QString> MusicTrack::streamAddress() const {
    return track_ ? track_->get()->streamAddress() : std::nullopt;
}

QVariant MusicTrack::libraryValue(const QString& tag) const {
    if (tag == u"location") {
        const auto path = track_->get()->location();
        return path ? QVariant(*path) : QVariant();
    }
    if (tag == kPlayStatsTag) {
        const auto path = track_->get()->location();
        return path ? QVariant(filetags::playStatsText(filetags::readPlayStats(*path)))
                    : QVariant();
    }
    if (tag == u"cover") {
        const auto path = track_->get()->location();
        return path && filetags::hasEmbeddedCover(*path) ? QVariant(QStringLiteral("cover"))
                                                         : QVariant();
    }
    return track_->property(propertyKey(tag));
}

void MusicTrack::setLibraryValue(const QString& tag, const QVariant& value) const {
    if (tag == u"location")
        track_->get()->setLocation(stringValue(value));
    else if (tag == kPlayStatsTag)
        writePlayStats(value);
    else if (tag == u"cover")
        refuseTag(unsupported::kCoverMessage);
    else
        track_->setProperty(propertyKey(tag), value);
}

bool MusicTrack::setLibraryValueIf(const QString& tag, const QVariant& value,
                                   const QStringList& tags,
                                   const std::function<bool(const QVariantMap&)>& proceed) const {
    // Tags that are no plain library property: they are checked and written on their own.
    const auto special = [](const QString& name) {
        return name == u"location" || name == u"cover" || name == kPlayStatsTag;
    };
    if (special(tag) || std::any_of(tags.begin(), tags.end(), special)) {
        if (!proceed(valuesForTags(tags)))
            return false;
        setLibraryValue(tag, value);
        return true;
    }
    QStringList keys;
    for (const QString& name : tags)
        keys.append(propertyKey(name));
    const QString fileKey = itunes::fileValueKey(propertyKey(tag));
    return track_->setPropertyIf(propertyKey(tag), value, keys, [&](const QVariantMap& read) {
        QVariantMap values;
        for (const QString& name : tags)
            values.insert(name, read.value(propertyKey(name)));
        if (read.contains(fileKey))
            values.insert(fileValueKey(tag), read.value(fileKey));
        return proceed(values);
    });
}

QString MusicTrack::fileValueKey(const QString& tag) {
    return itunes::fileValueKey(propertyKey(tag));
}

void MusicTrack::writePlayStats(const QVariant& value) const {
    const auto path = track_->get()->location();
    if (!path)
        throw TesselError(errors::kTagWrite,
                          QStringLiteral("The track's file cannot be found, so it cannot take a "
                                         "rating or a play count."));
    filetags::writePlayStats(*path, filetags::playStatsFromText(asText(value)));
}

QVariantMap MusicTrack::fileValues(const QStringList& tags) const {
    for (const QString& tag : tags) {
        if (!filetags::isReadable(tag))
            refuseTag(unsupported::kFolderMessage);
    }
    return filetags::read(path_, tags);
}

void MusicTrack::setFileValue(const QString& tag, const QVariant& value) const {
    if (!filetags::isWritable(tag))
        refuseTag(unsupported::kFolderMessage);
    filetags::write(path_, tag, value);
}

}  // namespace tessel
