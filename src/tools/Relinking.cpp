#include "Relinking.h"

#include "support/FormattedString.h"

namespace tessel {

QString searchPredicate(const QString& artist, const QString& title, const QString& album) {
    return formattedString(QStringLiteral("(kMDItemContentTypeTree == 'public.audio') && "
                                          "(kMDItemAuthors == %@) && (kMDItemTitle == %@) && "
                                          "(kMDItemAlbum == %@)"),
                           artist, title, album);
}

QString candidateLogLine(qsizetype index, const RelinkCandidate& candidate) {
    return formattedString(QStringLiteral("result at %lu - %@  | %@   |   %@  |   %@  %@ "),
                           qulonglong(index), candidate.path, candidate.fileName, candidate.album,
                           candidate.title, candidate.artists);
}

ChangeRecord relinkRecord(const MusicTrack& track, const QString& title, const QString& artist,
                          const QString& path) {
    return tagChange(track, title, artist, QStringLiteral("location"), QStringLiteral(""), path);
}

AlertRequest musicFolderAlert() {
    return okAlert(QStringLiteral("Music Folder Needed"),
                   QStringLiteral("You need to select a folder containing the music your broken "
                                  "tracks should be re-linked to. This can also be the folder "
                                  "containing all your music."));
}

AlertRequest noFixedTracksAlert() {
    return okAlert(QStringLiteral("No Fixed Tracks"),
                   QStringLiteral("The selected playlist either does not contain dead tracks or "
                                  "the selected folder doesn't contain any missing original "
                                  "files. Also note that the selected folder has to have "
                                  "'Spotlight' enabled."));
}

QString scanLine(int position, int count, const QString& title) {
    return formattedString(QStringLiteral("%i/%i (1/2) - %@"), position, count, title);
}

QString searchLine(const QString& title, int left) {
    return formattedString(QStringLiteral("%@ [%i left]"), title, left);
}

}  // namespace tessel
