// Running the built tessel-cli as a separate program in a test, with its settings, data folder
// and library inside the test's temporary folder.
#pragma once

#include "TestSupport.h"

#include <QByteArray>
#include <QJsonObject>
#include <QMap>
#include <QStringList>

namespace tessel::test {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
    QJsonObject json() const;
    QStringList lines() const;
};

class CliTest : public TesselTest {
  protected:
    /// Runs tessel-cli with the arguments and waits for it (a test failure after a minute).
    CliRun run(const QStringList& arguments);

    /// Copies of the tagged fixtures in four formats (title Song, artist Artist, album Album,
    /// comment Note, genre Rock, year 1999) in folder().
    QStringList musicFolder();
    QString folder() const { return temp.filePath("music"); }
    QString libraryFile() const { return temp.filePath("library.sqlite"); }

    static QMap<QString, QByteArray> bytesOf(const QStringList& paths);
};

}  // namespace tessel::test
