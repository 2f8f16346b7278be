#include "PlayStats.h"

#include "FileTags.h"
#include "support/FormattedString.h"
#include "support/TesselError.h"

#include <QStringList>

#include <taglib/flacfile.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/popularimeterframe.h>
#include <taglib/textidentificationframe.h>
#include <taglib/xiphcomment.h>

#include <algorithm>
#include <cmath>

namespace tessel::filetags {

namespace {

const char* const kVorbisRating = "FMPS_RATING";
const char* const kVorbisCount = "FMPS_PLAYCOUNT";
const char* const kId3Rating = "FMPS_Rating";
const char* const kId3Count = "FMPS_Playcount";
const char* const kMp4Rating = "----:com.apple.iTunes:FMPS_Rating";
const char* const kMp4Count = "----:com.apple.iTunes:FMPS_Playcount";
// The POPM frame Tessel writes is told from other programs' by this address.
const char* const kPopmEmail = "tessel";

TagLib::String tagString(const QString& text) {
    return TagLib::String(text.toStdString(), TagLib::String::UTF8);
}

QString qString(const TagLib::String& text) {
    return QString::fromStdString(text.to8Bit(true));
}

QString ratingText(int rating) {
    return QString::number(rating / 100.0);
}

// FMPS values are text: a rating from 0.0 to 1.0, a count that may carry a fraction.
PlayStats statsFromTexts(const QString& rating, const QString& count) {
    PlayStats stats;
    bool ok = false;
    const double fraction = rating.trimmed().toDouble(&ok);
    if (ok && fraction > 0.0 && fraction <= 1.0)
        stats.rating = int(std::lround(fraction * 100));
    const double plays = count.trimmed().toDouble(&ok);
    if (ok && plays >= 0 && plays < 1e15)
        stats.playCount = qint64(plays);
    return stats;
}

// ---- ID3v2 ----

TagLib::ID3v2::UserTextIdentificationFrame* userText(TagLib::ID3v2::Tag& tag, const char* name) {
    for (TagLib::ID3v2::Frame* frame : tag.frameList("TXXX")) {
        auto* text = dynamic_cast<TagLib::ID3v2::UserTextIdentificationFrame*>(frame);
        if (text &&
            qString(text->description()).compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return text;
    }
    return nullptr;
}

QString userTextValue(TagLib::ID3v2::Tag& tag, const char* name) {
    auto* frame = userText(tag, name);
    const TagLib::StringList fields = frame ? frame->fieldList() : TagLib::StringList();
    return fields.size() > 1 ? qString(fields[1]) : QString();
}

void setUserText(TagLib::ID3v2::Tag& tag, const char* name, const QString& value) {
    auto* frame = userText(tag, name);
    if (!frame) {
        frame = new TagLib::ID3v2::UserTextIdentificationFrame(TagLib::String::UTF8);
        frame->setDescription(name);
        tag.addFrame(frame);
    }
    frame->setText(tagString(value));
}

TagLib::ID3v2::PopularimeterFrame* popm(TagLib::ID3v2::Tag& tag, bool own) {
    for (TagLib::ID3v2::Frame* frame : tag.frameList("POPM")) {
        auto* meter = dynamic_cast<TagLib::ID3v2::PopularimeterFrame*>(frame);
        if (meter && (!own || meter->email() == kPopmEmail))
            return meter;
    }
    return nullptr;
}

PlayStats id3Stats(TagLib::ID3v2::Tag& tag) {
    return statsFromTexts(userTextValue(tag, kId3Rating), userTextValue(tag, kId3Count));
}

// Only values Tessel's POPM frame agrees with count as written.
PlayStats agreedWithPopm(TagLib::ID3v2::Tag& tag) {
    PlayStats stats = id3Stats(tag);
    const TagLib::ID3v2::PopularimeterFrame* own = popm(tag, true);
    if (!own || (stats.rating && own->rating() != popmRating(*stats.rating)))
        stats.rating.reset();
    if (!own || (stats.playCount && qint64(own->counter()) != *stats.playCount))
        stats.playCount.reset();
    return stats;
}

void writeId3(TagLib::ID3v2::Tag& tag, const PlayStats& stats) {
    TagLib::ID3v2::PopularimeterFrame* own = popm(tag, true);
    if (!own) {
        own = new TagLib::ID3v2::PopularimeterFrame;
        own->setEmail(kPopmEmail);
        tag.addFrame(own);
    }
    if (stats.rating) {
        setUserText(tag, kId3Rating, ratingText(*stats.rating));
        own->setRating(popmRating(*stats.rating));
    }
    if (stats.playCount) {
        setUserText(tag, kId3Count, QString::number(*stats.playCount));
        own->setCounter(static_cast<unsigned int>(std::min<qint64>(*stats.playCount, UINT32_MAX)));
    }
}

// ---- Vorbis comments and MP4 ----

TagLib::Ogg::XiphComment* xiphOf(TagLib::File& file) {
    if (auto* flac = dynamic_cast<TagLib::FLAC::File*>(&file))
        return flac->xiphComment(true);
    return dynamic_cast<TagLib::Ogg::XiphComment*>(file.tag());
}

QString xiphValue(const TagLib::Ogg::XiphComment& xiph, const char* name) {
    const TagLib::Ogg::FieldListMap fields = xiph.fieldListMap();
    const auto it = fields.find(name);
    return it == fields.end() || it->second.isEmpty() ? QString() : qString(it->second.front());
}

QString mp4Value(const TagLib::MP4::Tag& tag, const char* key) {
    if (!tag.contains(key))
        return {};
    const TagLib::StringList values = tag.item(key).toStringList();
    return values.isEmpty() ? QString() : qString(values.front());
}

void setMp4(TagLib::MP4::Tag& tag, const char* key, const QString& value) {
    tag.setItem(key, TagLib::MP4::Item(TagLib::StringList(tagString(value))));
}

// ---- one place per format ----

// The stats of the file as a write would leave them (own: for MP3 only what the own POPM
// frame agrees with); absent for a format that holds none.
std::optional<PlayStats> statsOf(TagLib::File& file, bool own) {
    if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(&file)) {
        if (!mpeg->hasID3v2Tag())
            return PlayStats();
        return own ? agreedWithPopm(*mpeg->ID3v2Tag()) : id3Stats(*mpeg->ID3v2Tag());
    }
    if (auto* mp4 = dynamic_cast<TagLib::MP4::File*>(&file)) {
        if (!mp4->tag())
            return PlayStats();
        return statsFromTexts(mp4Value(*mp4->tag(), kMp4Rating), mp4Value(*mp4->tag(), kMp4Count));
    }
    if (TagLib::Ogg::XiphComment* xiph = xiphOf(file))
        return statsFromTexts(xiphValue(*xiph, kVorbisRating), xiphValue(*xiph, kVorbisCount));
    return std::nullopt;
}

bool writeStats(TagLib::File& file, const PlayStats& stats) {
    if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(&file)) {
        writeId3(*mpeg->ID3v2Tag(true), stats);
        return true;
    }
    if (auto* mp4 = dynamic_cast<TagLib::MP4::File*>(&file)) {
        if (!mp4->tag())
            return false;
        if (stats.rating)
            setMp4(*mp4->tag(), kMp4Rating, ratingText(*stats.rating));
        if (stats.playCount)
            setMp4(*mp4->tag(), kMp4Count, QString::number(*stats.playCount));
        return true;
    }
    TagLib::Ogg::XiphComment* xiph = xiphOf(file);
    if (!xiph)
        return false;
    if (stats.rating)
        xiph->addField(kVorbisRating, tagString(ratingText(*stats.rating)), true);
    if (stats.playCount)
        xiph->addField(kVorbisCount, tagString(QString::number(*stats.playCount)), true);
    return true;
}

}  // namespace

int popmRating(int rating) {
    static const int kBytes[] = {0, 1, 64, 128, 196, 255};
    return kBytes[std::clamp((rating + 10) / 20, 0, 5)];
}

int ratingOfPopm(int byte) {
    if (byte <= 0)
        return 0;
    if (byte < 32)
        return 20;
    if (byte < 96)
        return 40;
    if (byte < 160)
        return 60;
    return byte < 224 ? 80 : 100;
}

bool holdsPlayStats(const QString& path) {
    bool holds = false;
    inspect(path, [&](TagLib::File& file) { holds = statsOf(file, false).has_value(); });
    return holds;
}

PlayStats readPlayStats(const QString& path) {
    PlayStats stats;
    inspect(path, [&](TagLib::File& file) { stats = statsOf(file, true).value_or(PlayStats()); });
    return stats;
}

PlayStats importedPlayStats(TagLib::File& file) {
    PlayStats stats = statsOf(file, false).value_or(PlayStats());
    auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(&file);
    if (!mpeg || !mpeg->hasID3v2Tag())
        return stats;
    for (TagLib::ID3v2::Frame* frame : mpeg->ID3v2Tag()->frameList("POPM")) {
        auto* meter = dynamic_cast<TagLib::ID3v2::PopularimeterFrame*>(frame);
        if (!meter)
            continue;
        if (!stats.rating && meter->rating() > 0)
            stats.rating = ratingOfPopm(meter->rating());
        if (!stats.playCount && meter->counter() > 0)
            stats.playCount = qint64(meter->counter());
    }
    return stats;
}

void writePlayStats(const QString& path, const PlayStats& stats) {
    PlayStats written = stats;
    if (written.rating && *written.rating <= 0)
        written.rating.reset();
    modify(path, [&](TagLib::File& file) {
        if (!writeStats(file, written))
            throw TesselError(errors::kTagWrite,
                              formattedString(QStringLiteral("The file “%@” cannot hold a rating "
                                                             "or a play count."),
                                              path));
        return true;
    });
}

QString playStatsText(const PlayStats& stats) {
    QStringList parts;
    if (stats.rating)
        parts.append(QStringLiteral("FMPS_RATING ") + ratingText(*stats.rating));
    if (stats.playCount)
        parts.append(QStringLiteral("FMPS_PLAYCOUNT ") + QString::number(*stats.playCount));
    return parts.join(QStringLiteral(", "));
}

PlayStats playStatsFromText(const QString& text) {
    QString rating;
    QString count;
    for (const QString& part : text.split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
        if (part.startsWith(QStringLiteral("FMPS_RATING ")))
            rating = part.mid(12);
        else if (part.startsWith(QStringLiteral("FMPS_PLAYCOUNT ")))
            count = part.mid(15);
    }
    return statsFromTexts(rating, count);
}

}  // namespace tessel::filetags
