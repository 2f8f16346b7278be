#include "LargeAudio.h"

#include <QDir>
#include <QProcess>

namespace tessel::test {

namespace {

quint32 bigEndian(const QByteArray& bytes, qsizetype at, int size) {
    quint32 value = 0;
    for (int i = 0; i < size; ++i)
        value = (value << 8) | quint8(bytes.at(at + i));
    return value;
}

qsizetype audioStart(const QByteArray& bytes) {
    if (bytes.startsWith("fLaC")) {
        qsizetype at = 4;
        for (bool last = false; !last && at + 4 <= bytes.size();) {
            last = quint8(bytes.at(at)) & 0x80;
            at += 4 + bigEndian(bytes, at + 1, 3);
        }
        return at;
    }
    if (!bytes.startsWith("ID3"))
        return 0;
    quint32 size = 0;
    for (int i = 6; i < 10; ++i)
        size = (size << 7) | (quint8(bytes.at(i)) & 0x7f);
    return 10 + qsizetype(size);
}

bool run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

}  // namespace

QStringList makeLargeAudio(const TempFolder& temp, const QString& folder) {
    QDir().mkpath(temp.filePath(folder));
    const QString shortMp3 = temp.filePath("short-encoding.mp3");
    const QString flac = temp.filePath(folder + "/noise.flac");
    if (!run("ffmpeg",
             {"-v", "error", "-y", "-f", "lavfi", "-i", "sine=frequency=440:duration=10", "-ac",
              "2", "-b:a", "128k", "-id3v2_version", "0", "-write_xing", "0", shortMp3}) ||
        !run("sox", {"-n", "-r", "44100", "-c", "2", "-b", "16", flac, "synth", "160", "whitenoise",
                     "vol", "0.5"}))
        return {};
    const QString mp3 = temp.writeFile(folder + "/large.mp3", fileBytes(shortMp3).repeated(200));
    QFile::remove(shortMp3);
    return {mp3, flac};
}

QByteArray audioOf(const QString& path) {
    const QByteArray bytes = fileBytes(path);
    return bytes.mid(audioStart(bytes));
}

}  // namespace tessel::test
