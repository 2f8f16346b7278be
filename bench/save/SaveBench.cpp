// Times tag saves through Tessel's file backend against a bare TagLib save in place.
// Same-size edits (a title of the same length, which fits the tag) must cost what they cost
// in place; a growing edit (a title far beyond the padding) goes to a copy, and its cost is
// reported per MB of file.
#include "tags/FileTags.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <taglib/fileref.h>
#include <taglib/tag.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

double secondsOf(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e9;
}

QStringList copies(const QString& folder, const QByteArray& bytes, int count) {
    QDir().mkpath(folder);
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        const QString path = QDir(folder).filePath(QStringLiteral("%1.mp3").arg(i));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            std::exit(1);
        paths.append(path);
    }
    return paths;
}

void bareSave(const QString& path, const QString& title) {
    TagLib::FileRef ref(QFile::encodeName(path).constData(), false);
    ref.tag()->setTitle(TagLib::String(title.toStdString(), TagLib::String::UTF8));
    ref.save();
}

void tesselSave(const QString& path, const QString& title) {
    tessel::filetags::write(path, QStringLiteral("name"), title);
}

// The best of three rounds of saving every file with the title of the round.
double best(const QStringList& paths,
            const std::function<void(const QString&, const QString&)>& save,
            const std::function<QString(int)>& title) {
    double fastest = 1e9;
    for (int round = 0; round < 3; ++round) {
        fastest = std::min(fastest, secondsOf([&] {
                               for (const QString& path : paths)
                                   save(path, title(round));
                           }));
    }
    return fastest;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int small = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int largeMb = argc > 2 ? std::atoi(argv[2]) : 64;
    QTemporaryDir temp;
    QFile fixture(QStringLiteral(TESSEL_TEST_DATA "/tagged.mp3"));
    fixture.open(QIODevice::ReadOnly);
    const QByteArray tagged = fixture.readAll();

    // Same-size edits: each round writes a title of the same length as the last.
    const auto sameSize = [](int round) { return QStringLiteral("Title %1").arg(round); };
    const QStringList bare = copies(temp.filePath("bare"), tagged, small);
    const QStringList safe = copies(temp.filePath("safe"), tagged, small);
    bareSave(bare.first(), sameSize(9));  // both start from a tag of the same size
    for (const QString& path : bare + safe)
        bareSave(path, sameSize(9));
    const double bareSame = best(bare, bareSave, sameSize);
    const double safeSame = best(safe, tesselSave, sameSize);
    std::printf("same-size edit, %d files: TagLib in place %.3f s, Tessel %.3f s, ratio %.2f\n",
                small, bareSame, safeSame, safeSame / bareSame);

    // Growing edits on one large file: the tag outgrows its padding every round.
    const QByteArray frames = tagged.mid(tagged.indexOf(QByteArray("\xff\xfb", 2)));
    QByteArray large = tagged;
    while (large.size() < qsizetype(largeMb) << 20)
        large += frames;
    const auto growing = [](int round) { return QString(4000 * (round + 1) + 20000, u'g'); };
    const QStringList bareLarge = copies(temp.filePath("bare-large"), large, 1);
    const QStringList safeLarge = copies(temp.filePath("safe-large"), large, 1);
    const double mb = double(large.size()) / (1 << 20);
    const double bareGrow = best(bareLarge, bareSave, growing);
    const double safeGrow = best(safeLarge, tesselSave, growing);
    std::printf(
        "growing edit, %.0f MB file: TagLib in place %.1f ms/MB, Tessel (copy, fsync, "
        "rename) %.1f ms/MB\n",
        mb, bareGrow * 1000 / mb, safeGrow * 1000 / mb);
    return 0;
}
