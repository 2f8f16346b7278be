// Ratings and play counts in music files, in the forms other players read: FMPS_RATING (0.0 to
// 1.0) and FMPS_PLAYCOUNT as Vorbis comments (FLAC, Ogg), MP4 free-form items
// ("----:com.apple.iTunes:FMPS_Rating") and ID3v2 TXXX frames ("FMPS_Rating"), and for MP3 also
// a POPM frame of Tessel's own, beside any other program's POPM frames, which stay as they are.
#pragma once

#include <QString>

#include <optional>

namespace TagLib {
class File;
}

namespace tessel::filetags {

struct PlayStats {
    std::optional<int> rating = std::nullopt;  // 0-100, as the library keeps it (20 a star)
    std::optional<qint64> playCount = std::nullopt;

    bool operator==(const PlayStats& other) const {
        return rating == other.rating && playCount == other.playCount;
    }
};

/// The POPM rating byte of a library rating, by whole stars (half a star rounds up) as the
/// common players map them: none 0, 1 star 1, 2 stars 64, 3 stars 128, 4 stars 196, 5 stars 255.
int popmRating(int rating);
/// The library rating of a POPM byte: 0 none, 1-31 one star (20), 32-95 two, 96-159 three,
/// 160-223 four, 224-255 five (100).
int ratingOfPopm(int byte);

/// Whether the file is one whose format holds these values (MP3, FLAC, Ogg Vorbis, Opus, Ogg
/// FLAC, MP4); false for a file that cannot be opened or is no music file.
bool holdsPlayStats(const QString& path);

/// The values the file holds as a write of them would leave them: the FMPS values, and for an
/// MP3 only those that Tessel's own POPM frame agrees with. Absent fields where it has none.
PlayStats readPlayStats(const QString& path);

/// What a music library takes from an opened file: the FMPS values, else, in an MP3, those of
/// its first POPM frame that has them.
PlayStats importedPlayStats(TagLib::File& file);

/// Writes the fields that are set (a rating of 0 is none and is not written) and saves.
/// Throws a TesselError named errors::kTagWrite as write() does, and for a format that cannot
/// hold them.
void writePlayStats(const QString& path, const PlayStats& stats);

/// The values as the change panel shows them: "FMPS_RATING 0.8, FMPS_PLAYCOUNT 12"; empty for
/// none. playStatsFromText reads this form back.
QString playStatsText(const PlayStats& stats);
PlayStats playStatsFromText(const QString& text);

}  // namespace tessel::filetags
