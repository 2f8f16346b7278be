// Times a Search & Replace, preview and apply, on a generated corpus of music files, against
// the floors measured in the same run on the same corpus: a bare single-threaded TagLib loop
// that opens each file once to read its title (the read floor, for the preview), and one that
// reads each title and sets and saves the changed ones (the save floor, for the apply).
// Tessel is timed twice: in this process (the tool's collection over the folder, then the
// apply engine on its list) and as a user runs it (tessel-cli, whose apply is the time an
// --apply run takes beyond a preview run). Ends with the peak resident memory of each.
//
//   searchreplace_bench [N [ROUNDS]]   N files (default 2000, 10000 for the large run), best of
//                                      ROUNDS (default 3); the corpus lives in a temporary folder
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include "changes/ApplyEngine.h"
#include "model/TrackGathering.h"
#include "support/OrderedJobs.h"
#include "tools/SearchReplace.h"

#include <taglib/tag_c.h>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

QTextStream out(stdout);

const char* const kFixtures[] = {"tagged.mp3", "tagged-v1.mp3", "tagged.flac", "tagged.ogg",
                                 "tagged.m4a"};
const char* const kWords[] = {"Under", "Over", "Into", "Across", "Beyond", "Through", "Around"};

// Every title holds "the" once, so every track gets one change.
QString titleFor(int i) {
    return QStringLiteral("%1 the Line %2").arg(QString::fromLatin1(kWords[i % 7])).arg(i);
}

void setTags(const QString& path, int i) {
    TagLib_File* file = taglib_file_new(QFile::encodeName(path).constData());
    if (!file)
        return;
    TagLib_Tag* tag = taglib_file_tag(file);
    if (tag) {
        taglib_tag_set_title(tag, titleFor(i).toUtf8().constData());
        taglib_tag_set_artist(tag, QStringLiteral("Artist %1").arg(i % 37).toUtf8().constData());
        taglib_tag_set_album(tag, QStringLiteral("Album %1").arg(i % 101).toUtf8().constData());
        taglib_tag_set_year(tag, 1960 + i % 60);
        taglib_file_save(file);
    }
    taglib_file_free(file);
}

void buildCorpus(const QString& folder, int count) {
    for (int i = 0; i < count; ++i) {
        const QString fixture = QString::fromLatin1(kFixtures[i % std::size(kFixtures)]);
        const QString path =
            QStringLiteral("%1/%2/%3-%4").arg(folder).arg(i / 100).arg(i).arg(fixture);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile::copy(QStringLiteral(TESSEL_TEST_DATA) + u'/' + fixture, path);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        setTags(path, i);
    }
}

QStringList corpusFiles(const QString& folder) {
    QStringList paths;
    for (const QFileInfo& sub : QDir(folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        for (const QFileInfo& file : QDir(sub.filePath()).entryInfoList(QDir::Files))
            paths.append(file.filePath());
    }
    return paths;
}

void readTitles(const QStringList& paths) {
    for (const QString& path : paths) {
        TagLib_File* file = taglib_file_new(QFile::encodeName(path).constData());
        if (!file)
            continue;
        if (TagLib_Tag* tag = taglib_file_tag(file)) {
            char* title = taglib_tag_title(tag);
            taglib_free(title);
        }
        taglib_file_free(file);
    }
}

// Reads every title and sets and saves those that differ from what the corpus was built with:
// as much writing as the apply does (the same length), and the next round finds the same
// changes again.
void writeTitles(const QStringList& paths) {
    for (const QString& path : paths) {
        TagLib_File* file = taglib_file_new(QFile::encodeName(path).constData());
        if (!file)
            continue;
        if (TagLib_Tag* tag = taglib_file_tag(file)) {
            const int index = QFileInfo(path).baseName().section(u'-', 0, 0).toInt();
            const QByteArray wanted = titleFor(index).toUtf8();
            char* title = taglib_tag_title(tag);
            if (wanted != title) {
                taglib_tag_set_title(tag, wanted.constData());
                taglib_file_save(file);
            }
            taglib_free(title);
        }
        taglib_file_free(file);
    }
}

struct NullSink : tessel::ProgressSink {
    void setProgress(const QString&) override {}
};

// The tool's collection over the folder, as the desktop app and the command line run it.
tessel::ChangeList previewInProcess(const QString& folder) {
    tessel::SearchReplace tool({0, QStringLiteral("the"), QStringLiteral("The"), false, false});
    tool.validate();
    NullSink sink;
    const auto gather = tessel::TrackGatherer::oneByOne([&](const tessel::TrackFound& found) {
        return std::optional(tessel::folderTracks(QUrl::fromLocalFile(folder), found));
    });
    tessel::ChangeList list;
    list.records = tool.collect(gather, sink).records;
    return list;
}

int applyInProcess(const tessel::ChangeList& list) {
    NullSink sink;
    return tessel::applyTagChanges(list, sink).done;
}

double secondsOf(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e9;
}

// Runs tessel-cli search-replace on the corpus; returns the number of rows it listed.
int runCli(const QString& folder, const QString& home, const QStringList& extra) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_DATA_HOME", home + "/data");
    environment.insert("XDG_CONFIG_HOME", home + "/config");
    environment.insert("TESSEL_LIBRARY", home + "/library.sqlite");
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TESSEL_CLI),
                  QStringList{"search-replace", "--folder", folder, "--search", "the", "--replace",
                              "The", "--case-sensitive"} +
                      extra);
    process.waitForFinished(-1);
    if (process.exitCode() != 0)
        out << "tessel-cli failed: " << process.readAllStandardError() << Qt::endl;
    return process.readAllStandardOutput().count("[x]");
}

void report(const char* what, double seconds, double floor) {
    out << QStringLiteral("%1 %2 s   %3x the floor")
               .arg(QString::fromLatin1(what).leftJustified(22))
               .arg(seconds, 8, 'f', 3)
               .arg(seconds / floor, 5, 'f', 2)
        << Qt::endl;
}

struct Times {
    double readFloor = 1e9;
    double preview = 1e9;     // in this process
    double apply = 1e9;       // in this process
    double writeFloor = 1e9;  // read every title, save the changed ones
    double cliPreview = 1e9;
    double cliRun = 1e9;  // the whole --apply run
};

bool expect(int seen, int wanted, const char* what) {
    if (seen != wanted)
        out << "expected " << wanted << " changes " << what << ", saw " << seen << Qt::endl;
    return seen == wanted;
}

// One round of the timings; each keeps its best over the rounds, the usual way to see through
// other load on the machine. Each apply is followed by a floor loop that sets the titles back.
bool timeRound(const QString& folder, const QString& home, const QStringList& paths, Times& best) {
    const auto keep = [](double& slot, double seconds) { slot = std::min(slot, seconds); };
    const int count = int(paths.size());
    keep(best.readFloor, secondsOf([&] { readTitles(paths); }));
    tessel::ChangeList list;
    keep(best.preview, secondsOf([&] { list = previewInProcess(folder); }));
    int applied = 0;
    keep(best.apply, secondsOf([&] { applied = applyInProcess(list); }));
    keep(best.writeFloor, secondsOf([&] { writeTitles(paths); }));
    if (!expect(int(list.records.size()), count, "previewed") || !expect(applied, count, "applied"))
        return false;
    list = {};
    int previewed = 0;
    keep(best.cliPreview, secondsOf([&] { previewed = runCli(folder, home, {}); }));
    keep(best.cliRun, secondsOf([&] { applied = runCli(folder, home, {"--apply"}); }));
    keep(best.writeFloor, secondsOf([&] { writeTitles(paths); }));
    return expect(previewed, count, "previewed by tessel-cli") &&
           expect(applied, count, "applied by tessel-cli");
}

// Peak resident memory in MB: of this process, or of the largest tessel-cli run.
double peakMegabytes(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_maxrss / 1024.0;  // kilobytes on Linux
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 2000;
    const int rounds = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 3;
    if (count <= 0 || rounds <= 0) {
        out << "usage: searchreplace_bench [N [ROUNDS]]" << Qt::endl;
        return 2;
    }
    QTemporaryDir home;
    // A save that needs a copy records it under the data folder: the temporary one, never the
    // user's.
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath("data")));
    const QString folder = home.filePath("corpus");
    out << "Building a corpus of " << count << " files…" << Qt::endl;
    buildCorpus(folder, count);
    const QStringList paths = corpusFiles(folder);
    readTitles(paths);  // warms the page cache for every timing below

    Times best;
    for (int round = 0; round < rounds; ++round) {
        if (!timeRound(folder, home.path(), paths, best))
            return 1;
    }
    out << paths.size() << " files, best of " << rounds << " rounds, " << tessel::workerCount()
        << " worker threads" << Qt::endl;
    report("read floor (TagLib)", best.readFloor, best.readFloor);
    report("preview", best.preview, best.readFloor);
    report("preview (tessel-cli)", best.cliPreview, best.readFloor);
    report("save floor (TagLib)", best.writeFloor, best.writeFloor);
    report("apply", best.apply, best.writeFloor);
    // An --apply run collects the changes first, as the preview does; what it adds to the
    // preview is the apply itself.
    report("apply (tessel-cli)", best.cliRun - best.cliPreview, best.writeFloor);
    report("preview + apply (cli)", best.cliRun, best.readFloor + best.writeFloor);
    out << QStringLiteral("peak memory: %1 MB in this process, %2 MB the largest tessel-cli run")
               .arg(peakMegabytes(RUSAGE_SELF), 0, 'f', 1)
               .arg(peakMegabytes(RUSAGE_CHILDREN), 0, 'f', 1)
        << Qt::endl;
    return 0;
}
