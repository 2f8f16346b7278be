// Applies one tag change to every track of a library playlist, in a process of its own, so
// two of these can race on one library: computes the list, says "ready" on standard output,
// waits until the go file exists, applies and prints the outcome and the count written.
// Arguments: library, playlist, tag, new value, go file.
#include "MemoryLibrary.h"
#include "changes/ApplyEngine.h"
#include "itunes/MusicLibrary.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QThread>

#include <cstdio>

using namespace tessel;

namespace {

struct NullSink : ProgressSink {
    void setProgress(const QString&) override {}
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 6)
        return 2;
    const QString tag = args.at(3);
    ChangeList list;
    const auto library = itunes::libraryProvider(args.at(1))();
    for (const itunes::TrackPtr& track : test::playlistNamed(*library, args.at(2))->tracks()) {
        const MusicTrack music = MusicTrack::withTrack(track);
        list.records.append(tagChange(music, music.title(), music.artist(), tag,
                                      music.valueForTag(tag), args.at(4)));
    }
    std::puts("ready");
    std::fflush(stdout);
    while (!QFileInfo::exists(args.at(5)))
        QThread::msleep(1);
    NullSink progress;
    const ApplyResult result = applyTagChanges(list, progress);
    if (result.outcome == ApplyResult::Outcome::Cancelled)
        std::printf("%s\n", qPrintable(kDoNotTouchMessage));
    else if (result.outcome == ApplyResult::Outcome::Stopped)
        std::printf("stopped\n");
    else
        std::printf("finished\n");
    std::printf("%d\n", result.done);
    return 0;
}
