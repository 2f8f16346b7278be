// Large real music files made at test time (the repository keeps only small fixtures), and
// the audio part of a file, to check that a write left it byte for byte.
#pragma once

#include "TestSupport.h"

namespace tessel::test {

/// A 32 MB MP3 (one short ffmpeg encoding repeated) and a 15 MB FLAC of noise (sox) in folder;
/// empty when ffmpeg or sox is missing.
QStringList makeLargeAudio(const TempFolder& temp, const QString& folder);

/// The bytes after an MP3's ID3v2 tag or after a FLAC's metadata blocks.
QByteArray audioOf(const QString& path);

}  // namespace tessel::test
