#include "FileTags.h"

#include "PlayStats.h"
#include "ReadStream.h"
#include "SafeSaveStream.h"

#include "foundation/StringHelpers.h"
#include "support/FormattedString.h"
#include "support/TesselError.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

#include <taglib/apetag.h>
#include <taglib/fileref.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpcproperties.h>
#include <taglib/mpegfile.h>
#include <taglib/tdebuglistener.h>
#include <taglib/tpropertymap.h>

#include <algorithm>
#include <mutex>

Q_LOGGING_CATEGORY(lcTagLib, "tessel.taglib", QtWarningMsg)

namespace tessel::filetags {

namespace {

// TagLib reports every oddity of a malformed file; those notes go to a category that is
// quiet unless asked for (QT_LOGGING_RULES="tessel.taglib.debug=true").
class QuietDebugListener : public TagLib::DebugListener {
  public:
    void printMessage(const TagLib::String& message) override {
        qCDebug(lcTagLib).noquote() << QString::fromStdString(message.to8Bit(true)).trimmed();
    }
};

void setUpTagLib() {
    static std::once_flag once;
    std::call_once(once, [] {
        static QuietDebugListener listener;
        TagLib::setDebugListener(&listener);
    });
}

const QStringList& textTags() {
    static const QStringList list{"name", "title", "artist", "album", "comment", "genre"};
    return list;
}

QVariant nonZeroText(unsigned int number) {
    return number == 0 ? QVariant() : QVariant(QString::number(number));
}

QString fromTagString(const TagLib::String& text) {
    return QString::fromStdString(text.to8Bit(true));
}

// ---- opening ----

// TagLib takes a file's type from its extension; an MP3 is opened as its MPEG file.
bool isMpegFile(const QString& path) {
    return QFileInfo(path).suffix().compare(u"mp3", Qt::CaseInsensitive) == 0;
}

TagLib::MPEG::File* asMpeg(TagLib::File& file) {
    return dynamic_cast<TagLib::MPEG::File*>(&file);
}

// TagLib opens some formats leniently: any file named .mp3 is MPEG to it, searched for frames
// from end to end; any four bytes make an old Musepack header; and WAV, AIFF, WavPack, Monkey's
// Audio and TrueAudio files open though it finds nothing it knows in them. A file in which it
// finds no audio is no music file. It is neither read nor written: a tag written into it
// would change a file that is something else, or one whose audio TagLib cannot place (a WAV
// whose data chunk it cannot measure gets its tag where a player reads audio).
bool holdsAudio(TagLib::File& file) {
    if (TagLib::MPEG::File* mpeg = asMpeg(file))
        return mpeg->firstFrameOffset() >= 0;
    const TagLib::AudioProperties* audio = file.audioProperties();
    if (!audio)
        return false;
    if (const auto* musepack = dynamic_cast<const TagLib::MPC::Properties*>(audio)) {
        if (musepack->mpcVersion() < 4 || musepack->mpcVersion() > 8)
            return false;
    }
    // A tracker module gives its channels only: neither a sample rate nor a length.
    return audio->sampleRate() > 0 || audio->lengthInMilliseconds() > 0 || audio->channels() > 0;
}

// A file opened for one read or write.
struct OpenedFile {
    std::unique_ptr<SafeSaveStream> stream;  // what a write saves through; outlives ref
    std::unique_ptr<ReadStream> reader;      // what a read goes through; outlives ref
    TagLib::FileRef ref;                     // null when TagLib cannot open the file
    bool music = false;                      // TagLib opened it and found audio in it

    // The file when it is a music file, else null.
    TagLib::File* musicFile() const { return music ? ref.file() : nullptr; }
};

// Opens a file to be read. An MP3's audio properties are read only when asked
// for: finding its frames is most of a parse, a save needs none, and its first frame alone
// shows that it holds audio. Other formats are opened with theirs.
OpenedFile openFile(const QString& path, bool mpegAudioProperties) {
    setUpTagLib();
    OpenedFile opened;
    opened.reader = std::make_unique<ReadStream>(path);
    if (!opened.reader->isOpen())
        return opened;
    opened.ref = TagLib::FileRef(opened.reader.get(), mpegAudioProperties || !isMpegFile(path));
    opened.music = !opened.ref.isNull() && holdsAudio(*opened.ref.file());
    return opened;
}

// Opens a file to be written: saved through a stream that keeps it whole if the process is
// killed while the audio moves.
OpenedFile openForWriting(const QString& path, bool mpegAudioProperties) {
    setUpTagLib();
    OpenedFile opened;
    opened.stream = std::make_unique<SafeSaveStream>(path);
    if (!opened.stream->isOpen())
        return opened;
    opened.ref = TagLib::FileRef(opened.stream.get(), mpegAudioProperties || !isMpegFile(path));
    opened.music = !opened.ref.isNull() && holdsAudio(*opened.ref.file());
    return opened;
}

// ---- writing ----

TesselError writeError(const QString& format, const QString& path) {
    return TesselError(errors::kTagWrite, formattedString(format, path));
}

unsigned int yearFrom(const QVariant& value) {
    const qint32 year = intValue(stringValue(value));
    return year > 0 ? static_cast<unsigned int>(year) : 0;
}

void setOnTag(TagLib::Tag* tag, const QString& name, const QVariant& value) {
    const TagLib::String text(stringValue(value).toStdString(), TagLib::String::UTF8);
    if (name == u"artist")
        tag->setArtist(text);
    else if (name == u"album")
        tag->setAlbum(text);
    else if (name == u"comment")
        tag->setComment(text);
    else if (name == u"genre")
        tag->setGenre(text);
    else if (name == u"year")
        tag->setYear(yearFrom(value));
    else
        tag->setTitle(text);
}

// The opened file, when it can be written.
TagLib::File& openedForWriting(const OpenedFile& opened, const QString& path) {
    if (opened.ref.isNull())
        throw writeError(QStringLiteral("The file “%@” could not be opened."), path);
    if (!opened.music)
        throw writeError(QStringLiteral("The file “%@” holds no audio."), path);
    if (opened.ref.file()->readOnly())
        throw writeError(QStringLiteral("The file “%@” is read-only."), path);
    return *opened.ref.file();
}

// ID3v1 holds 30 bytes of Latin-1 a field and a fixed list of genres, so an MP3 without an
// ID3v2 tag gets one for a write, as an untagged one does. It starts with the values of the
// tags the file has, for the many readers that look no further than ID3v2.
void addId3v2Tag(TagLib::MPEG::File& file) {
    if (file.hasID3v2Tag())
        return;
    TagLib::PropertyMap values;
    if (file.hasAPETag())
        values = file.APETag()->properties();
    else if (file.hasID3v1Tag())
        values = file.ID3v1Tag()->properties();
    file.ID3v2Tag(true)->setProperties(values);
}

// Saves an MP3 with its ID3v2 tag (see addId3v2Tag) and, of ID3v1 and APE, those it already
// has on disk: a new ID3v2 tag is 2.4, an ID3v2.3 tag stays 2.3, and no ID3v1 is added.
bool saveMpeg(TagLib::MPEG::File& file) {
    int kinds = TagLib::MPEG::File::ID3v2;
    if (file.hasID3v1Tag())
        kinds |= TagLib::MPEG::File::ID3v1;
    if (file.hasAPETag())
        kinds |= TagLib::MPEG::File::APE;
    const bool keepV3 = file.hasID3v2Tag() && file.ID3v2Tag()->header()->majorVersion() == 3;
    return file.save(kinds, TagLib::File::StripNone, keepV3 ? TagLib::ID3v2::v3 : TagLib::ID3v2::v4,
                     TagLib::File::DoNotDuplicate);
}

void save(const OpenedFile& opened, TagLib::File& file, const QString& path) {
    TagLib::MPEG::File* mpeg = asMpeg(file);
    if (!(mpeg ? saveMpeg(*mpeg) : file.save()) || (opened.stream && !opened.stream->commit()))
        throw writeError(QStringLiteral("The file “%@” could not be saved."), path);
}

// Writes one tag of isWritable into the opened file and saves it.
void writeTag(const OpenedFile& opened, const QString& path, const QString& name,
              const QVariant& value) {
    TagLib::File& file = openedForWriting(opened, path);
    if (TagLib::MPEG::File* mpeg = asMpeg(file))
        addId3v2Tag(*mpeg);
    TagLib::Tag* tag = file.tag();
    if (!tag)
        throw writeError(QStringLiteral("The file “%@” has no tag that can be written."), path);
    setOnTag(tag, name, value);
    save(opened, file, path);
}

// ---- fields a library track writes through to its file ----

// Where a library field lives in TagLib's property map. A number and its count share one
// property ("3/12") unless the file already keeps the count apart (Vorbis "TRACKTOTAL").
struct PropertySlot {
    enum Kind { Text, Integer, Number, Count };
    const char* key;
    const char* property;
    Kind kind;
    const char* separateCount;
};

const PropertySlot* propertySlot(const QString& key) {
    static const PropertySlot kSlots[] = {
        {"albumArtist", "ALBUMARTIST", PropertySlot::Text, nullptr},
        {"composer", "COMPOSER", PropertySlot::Text, nullptr},
        {"lyrics", "LYRICS", PropertySlot::Text, nullptr},
        {"bpm", "BPM", PropertySlot::Integer, nullptr},
        {"trackNumber", "TRACKNUMBER", PropertySlot::Number, "TRACKTOTAL"},
        {"trackCount", "TRACKNUMBER", PropertySlot::Count, "TRACKTOTAL"},
        {"discNumber", "DISCNUMBER", PropertySlot::Number, "DISCTOTAL"},
        {"discCount", "DISCNUMBER", PropertySlot::Count, "DISCTOTAL"},
    };
    for (const PropertySlot& slot : kSlots) {
        if (key == QLatin1String(slot.key))
            return &slot;
    }
    return nullptr;
}

QString firstValue(const TagLib::PropertyMap& map, const char* property) {
    const auto found = map.find(property);
    if (found == map.end() || found->second.isEmpty())
        return {};
    return QString::fromStdString(found->second.front().to8Bit(true));
}

void setOrErase(TagLib::PropertyMap& map, const char* property, const QString& text) {
    if (text.isEmpty())
        map.erase(property);
    else
        map.replace(property,
                    TagLib::StringList(TagLib::String(text.toStdString(), TagLib::String::UTF8)));
}

QString positiveText(qint32 number) {
    return number > 0 ? QString::number(number) : QString();
}

void setNumberOrCount(TagLib::PropertyMap& map, const PropertySlot& slot, qint32 value) {
    const QStringList parts = firstValue(map, slot.property).split(u'/');
    qint32 number = intValue(parts.value(0));
    const bool separate = map.contains(slot.separateCount);
    qint32 count = intValue(separate ? firstValue(map, slot.separateCount) : parts.value(1));
    (slot.kind == PropertySlot::Number ? number : count) = value;
    if (separate) {
        setOrErase(map, slot.separateCount, positiveText(count));
        count = 0;
    }
    const QString pair = count > 0
                             ? QString::number(std::max(number, 0)) + u'/' + QString::number(count)
                             : positiveText(number);
    setOrErase(map, slot.property, pair);
}

// Applies the field to a tag or a whole file; false when it cannot hold the field.
template <typename Holder>
bool applyField(Holder& tag, const PropertySlot& slot, const QVariant& value) {
    TagLib::PropertyMap map = tag.properties();
    if (slot.kind == PropertySlot::Text)
        setOrErase(map, slot.property, stringValue(value));
    else if (slot.kind == PropertySlot::Integer)
        setOrErase(map, slot.property, positiveText(intValue(value)));
    else
        setNumberOrCount(map, slot, intValue(value));
    return !tag.setProperties(map).contains(slot.property);
}

TesselError cannotHold(const QString& path, const QString& key) {
    return TesselError(
        errors::kTagWrite,
        formattedString(QStringLiteral("The file “%@” cannot hold the field “%@”."), path, key));
}

// Applies the field to an MP3: its ID3v2 tag must hold it (a file without one gets one, see
// addId3v2Tag); an APE or ID3v1 tag it has takes what it can. Each tag is changed through its
// own type: TagLib's property maps are not virtual.
void applyToMpeg(TagLib::MPEG::File& file, const PropertySlot& slot, const QVariant& value,
                 const QString& path) {
    addId3v2Tag(file);
    if (!applyField(*file.ID3v2Tag(), slot, value))
        throw cannotHold(path, QString::fromLatin1(slot.key));
    if (file.hasAPETag())
        applyField(*file.APETag(), slot, value);
    if (file.hasID3v1Tag())
        applyField(*file.ID3v1Tag(), slot, value);
}

void insertPair(QVariantMap& fields, const TagLib::PropertyMap& map, const PropertySlot& number,
                const PropertySlot& count) {
    const QStringList parts = firstValue(map, number.property).split(u'/');
    fields.insert(QString::fromLatin1(number.key), qint64(intValue(parts.value(0))));
    const QString total =
        map.contains(count.separateCount) ? firstValue(map, count.separateCount) : parts.value(1);
    fields.insert(QString::fromLatin1(count.key), qint64(intValue(total)));
}

// ---- reading ----

QVariant readFromTag(const TagLib::File& file, const TagLib::Tag& tag, const QString& name) {
    if (name == u"artist")
        return fromTagString(tag.artist());
    if (name == u"album")
        return fromTagString(tag.album());
    if (name == u"comment")
        return fromTagString(tag.comment());
    if (name == u"genre")
        return fromTagString(tag.genre());
    if (name == u"name" || name == u"title")
        return fromTagString(tag.title());
    if (name == u"year")
        return nonZeroText(tag.year());
    if (name == u"number")
        return nonZeroText(tag.track());
    const TagLib::AudioProperties* properties = file.audioProperties();
    if (!properties)
        return {};
    return name == u"duration" ? properties->lengthInSeconds() : properties->bitrate();
}

QVariant otherValue(const QString& name, const QString& path) {
    if (name == u"location")
        return path;
    return hasEmbeddedCover(path) ? QVariant(QStringLiteral("cover")) : QVariant();
}

bool needsNoParse(const QString& name) {
    return name == u"location" || name == u"cover";
}

bool needsAudioProperties(const QStringList& tags) {
    return tags.contains(QStringLiteral("duration")) || tags.contains(QStringLiteral("bitRate"));
}

// The values read() gives from the opened file; absent ones when it is no music file.
QVariantMap valuesOf(const OpenedFile& opened, const QString& path, const QStringList& tags) {
    const TagLib::File* file = opened.musicFile();
    const TagLib::Tag* tag = file ? file->tag() : nullptr;
    QVariantMap values;
    for (const QString& name : tags) {
        if (needsNoParse(name))
            values.insert(name, otherValue(name, path));
        else
            values.insert(name, tag ? readFromTag(*file, *tag, name) : QVariant());
    }
    return values;
}

}  // namespace

bool isReadable(const QString& tag) {
    static const QStringList extra{"year", "number", "duration", "bitRate", "cover", "location"};
    return textTags().contains(tag) || extra.contains(tag);
}

bool isWritable(const QString& tag) {
    return textTags().contains(tag) || tag == u"year";
}

QVariantMap read(const QString& path, const QStringList& tags) {
    // "location" and the cover test need no parse.
    const bool parse = !std::all_of(tags.cbegin(), tags.cend(), needsNoParse);
    const OpenedFile opened = parse ? openFile(path, needsAudioProperties(tags)) : OpenedFile();
    return valuesOf(opened, path, tags);
}

void write(const QString& path, const QString& tag, const QVariant& value) {
    writeTag(openForWriting(path, false), path, tag, value);
}

bool writeIf(const QString& path, const QStringList& tags,
             const std::function<bool(const QVariantMap&)>& proceed, const QString& tag,
             const QVariant& value) {
    const OpenedFile opened = openForWriting(path, needsAudioProperties(tags));
    if (!proceed(valuesOf(opened, path, tags)))
        return false;
    writeTag(opened, path, tag, value);
    return true;
}

bool isWritableThrough(const QString& tag) {
    return isWritable(tag) || propertySlot(tag);
}

void writeField(const QString& path, const QString& tag, const QVariant& value) {
    if (isWritable(tag)) {
        write(path, tag, value);
        return;
    }
    const PropertySlot* slot = propertySlot(tag);
    if (!slot)
        throw cannotHold(path, tag);
    const OpenedFile opened = openForWriting(path, false);
    TagLib::File& file = openedForWriting(opened, path);
    if (TagLib::MPEG::File* mpeg = asMpeg(file))
        applyToMpeg(*mpeg, *slot, value, path);
    else if (!applyField(file, *slot, value))
        throw cannotHold(path, QString::fromLatin1(slot->key));
    save(opened, file, path);
}

QVariantMap readForLibrary(const QString& path) {
    const OpenedFile opened = openFile(path, true);
    TagLib::File* file = opened.musicFile();
    if (!file || !file->tag())
        return {};
    const TagLib::Tag* tag = file->tag();
    QVariantMap fields{
        {"name", fromTagString(tag->title())},  {"artist", fromTagString(tag->artist())},
        {"album", fromTagString(tag->album())}, {"comment", fromTagString(tag->comment())},
        {"genre", fromTagString(tag->genre())}, {"year", qint64(tag->year())}};
    const TagLib::PropertyMap map = file->properties();
    for (const char* key : {"albumArtist", "composer", "lyrics"})
        fields.insert(key, firstValue(map, propertySlot(key)->property));
    fields.insert("bpm", qint64(intValue(firstValue(map, "BPM"))));
    insertPair(fields, map, *propertySlot("trackNumber"), *propertySlot("trackCount"));
    insertPair(fields, map, *propertySlot("discNumber"), *propertySlot("discCount"));
    if (const TagLib::AudioProperties* audio = file->audioProperties()) {
        fields.insert("duration", audio->lengthInMilliseconds() / 1000.0);
        fields.insert("bitRate", qint64(audio->bitrate()));
    }
    const PlayStats stats = importedPlayStats(*file);
    if (stats.rating)
        fields.insert("rating", qint64(*stats.rating));
    if (stats.playCount)
        fields.insert("playedCount", *stats.playCount);
    return fields;
}

FileIdentity readIdentity(const QString& path) {
    const OpenedFile opened = openFile(path, false);
    TagLib::File* file = opened.musicFile();
    if (!file || !file->tag())
        return {};
    FileIdentity identity{
        {}, fromTagString(file->tag()->title()), fromTagString(file->tag()->album())};
    // The property map keeps the values of a multi-valued artist apart; the tag's own
    // artist() would join them into one text.
    const TagLib::PropertyMap map = file->properties();
    const auto artists = map.find("ARTIST");
    if (artists != map.end()) {
        for (const TagLib::String& artist : artists->second)
            identity.artists.append(fromTagString(artist));
    }
    const QString artist = fromTagString(file->tag()->artist());
    if (identity.artists.isEmpty() && !artist.isEmpty())
        identity.artists.append(artist);
    return identity;
}

void inspect(const QString& path, const std::function<void(TagLib::File&)>& look) {
    const OpenedFile opened = openFile(path, false);
    if (TagLib::File* file = opened.musicFile())
        look(*file);
}

void modify(const QString& path, const std::function<bool(TagLib::File&)>& change) {
    const OpenedFile opened = openForWriting(path, false);
    TagLib::File& file = openedForWriting(opened, path);
    if (TagLib::MPEG::File* mpeg = asMpeg(file))
        addId3v2Tag(*mpeg);
    if (change(file))
        save(opened, file, path);
}

bool hasEmbeddedCover(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    static const QByteArray needle("image/");
    constexpr qint64 kChunk = 1 << 16;
    QByteArray carry;
    while (!file.atEnd()) {
        const QByteArray chunk = file.read(kChunk);
        if (chunk.isEmpty())
            break;
        // The tail of the previous chunk catches a needle split across two reads.
        if (chunk.contains(needle) || (carry + chunk.left(needle.size() - 1)).contains(needle))
            return true;
        carry = chunk.right(needle.size() - 1);
    }
    return false;
}

}  // namespace tessel::filetags
