#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <ostream>

namespace tessel::test {

QString fixtureFolder() {
    return QStringLiteral(TESSEL_TEST_DATA);
}

QString corpusFolder() {
    const QByteArray fromEnvironment = qgetenv("TESSEL_CORPUS");
    const QString folder = fromEnvironment.isEmpty() ? QStringLiteral(TESSEL_CORPUS)
                                                     : QString::fromLocal8Bit(fromEnvironment);
    return QFileInfo(folder).isDir() ? QDir(folder).absolutePath() : QString();
}

TempFolder::TempFolder() {
    if (!dir_.isValid())
        throw std::runtime_error("cannot create a temporary folder");
}

QString TempFolder::copyFixture(const QString& fixture, const QString& as) const {
    const QString target = filePath(as.isEmpty() ? fixture : as);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile::remove(target);
    if (!QFile::copy(QDir(fixtureFolder()).filePath(fixture), target))
        throw std::runtime_error("cannot copy fixture " + fixture.toStdString());
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                      QFileDevice::ReadGroup | QFileDevice::ReadOther);
    return target;
}

QString TempFolder::writeFile(const QString& relative, const QByteArray& bytes) const {
    const QString target = filePath(relative);
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + target.toStdString());
    return target;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TestEnvironment::TestEnvironment()
    : lib_(std::make_unique<TesselLib>(std::make_unique<MemorySettingsStore>())) {}

}  // namespace tessel::test

void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '[' << list.join(QStringLiteral(" | ")).toStdString() << ']';
}
