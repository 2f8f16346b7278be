// Reads and writes each input as a music file through the file backend. The first byte picks
// the file's type (TagLib goes by the extension); the rest is the file.
#include "FuzzFile.h"
#include "support/TesselError.h"
#include "tags/FileTags.h"

#include <iterator>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tessel;
    static const char* const kTypes[] = {"mp3",  "flac", "ogg", "m4a", "wav", "aiff",
                                         "opus", "ape",  "wv",  "mpc", "tta", "wma"};
    if (size == 0)
        return 0;
    const QString name =
        QStringLiteral("input.") + QLatin1String(kTypes[data[0] % std::size(kTypes)]);
    const QString path = fuzz::writeInput(name, data + 1, size - 1);
    const QStringList tags{"name", "artist", "album",    "comment", "genre",
                           "year", "number", "duration", "bitRate"};
    filetags::read(path, tags);
    filetags::readForLibrary(path);
    filetags::readIdentity(path);
    try {
        filetags::write(path, QStringLiteral("name"), QString(300, u'x'));
        filetags::writeField(path, QStringLiteral("trackNumber"), qint64(7));
        filetags::writeField(path, QStringLiteral("lyrics"), QStringLiteral("la la"));
    } catch (const TesselError&) {
    }
    filetags::read(path, tags);
    return 0;
}
