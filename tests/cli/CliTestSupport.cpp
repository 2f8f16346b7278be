#include "CliTestSupport.h"

#include <QJsonDocument>
#include <QProcess>

namespace tessel::test {

QJsonObject CliRun::json() const {
    return QJsonDocument::fromJson(out.toUtf8()).object();
}

QStringList CliRun::lines() const {
    return out.split('\n', Qt::SkipEmptyParts);
}

CliRun CliTest::run(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_DATA_HOME", temp.filePath("data"));
    environment.insert("XDG_CONFIG_HOME", temp.filePath("config"));
    environment.insert("TESSEL_LIBRARY", libraryFile());
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TESSEL_CLI), arguments);
    if (!process.waitForFinished(60000))
        ADD_FAILURE() << "tessel-cli did not finish";
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QStringList CliTest::musicFolder() {
    QStringList paths;
    for (const char* name : {"tagged.mp3", "tagged.flac", "tagged.ogg", "tagged.m4a"})
        paths.append(temp.copyFixture(name, QStringLiteral("music/") + name));
    return paths;
}

QMap<QString, QByteArray> CliTest::bytesOf(const QStringList& paths) {
    QMap<QString, QByteArray> bytes;
    for (const QString& path : paths)
        bytes.insert(path, fileBytes(path));
    return bytes;
}

}  // namespace tessel::test
