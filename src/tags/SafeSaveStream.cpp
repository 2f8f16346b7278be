#include "SafeSaveStream.h"

#include "support/TesselLib.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdlib>

namespace tessel::filetags {

namespace {

constexpr char kCopyMark[] = ".tessel-save-";
constexpr unsigned long kCopyChunk = 1 << 20;

// Each copy in progress has a record: a symbolic link to the copy, named after the process
// that makes it, in a folder of the per-user data folder.
QString recordsFolder() {
    const QString support = TesselLib::dataFolderPath();
    return support.isEmpty() ? QString()
                             : QDir(support).filePath(QStringLiteral("Unfinished Saves"));
}

bool writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= size_t(written);
    }
    return true;
}

bool syncPath(const QByteArray& path, int flags) {
    const int fd = ::open(path.constData(), flags);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

QByteArray randomSuffix() {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray suffix(6, '0');
    for (char& letter : suffix)
        letter = kLetters[QRandomGenerator::system()->bounded(int(sizeof kLetters) - 1)];
    return suffix;
}

bool processRuns(pid_t pid) {
    return pid != ::getpid() && (::kill(pid, 0) == 0 || errno == EPERM);
}

}  // namespace

SafeSaveStream::SafeSaveStream(const QString& path)
    : path_(QFile::encodeName(path)),
      original_(std::make_unique<TagLib::FileStream>(path_.constData())) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    realPath_ = canonical.isEmpty() ? path_ : QFile::encodeName(canonical);
}

SafeSaveStream::~SafeSaveStream() {
    discardCopy();
}

TagLib::IOStream& SafeSaveStream::current() const {
    return copy_ ? *copy_ : *original_;
}

TagLib::FileName SafeSaveStream::name() const {
    return path_.constData();
}

TagLib::ByteVector SafeSaveStream::readBlock(unsigned long length) {
    return current().readBlock(length);
}

void SafeSaveStream::writeBlock(const TagLib::ByteVector& data) {
    current().writeBlock(data);
}

void SafeSaveStream::insert(const TagLib::ByteVector& data, unsigned long start,
                            unsigned long replace) {
    if (data.size() != replace)
        switchToCopy();
    current().insert(data, start, replace);
}

void SafeSaveStream::removeBlock(unsigned long start, unsigned long length) {
    if (length > 0)
        switchToCopy();
    current().removeBlock(start, length);
}

bool SafeSaveStream::readOnly() const {
    return original_->readOnly();
}

bool SafeSaveStream::isOpen() const {
    return current().isOpen();
}

void SafeSaveStream::seek(long offset, Position p) {
    current().seek(offset, p);
}

void SafeSaveStream::clear() {
    current().clear();
}

long SafeSaveStream::tell() const {
    return current().tell();
}

long SafeSaveStream::length() {
    return current().length();
}

void SafeSaveStream::truncate(long length) {
    if (length != current().length())
        switchToCopy();
    current().truncate(length);
}

// The copy holds what the file holds now, bytes written in place so far included. A file
// with a second name (a hard link) or in a folder that cannot be written is saved in place,
// as it always was: a rename would part it from its other name, or cannot be made.
void SafeSaveStream::switchToCopy() {
    if (copy_ || original_->readOnly())
        return;
    struct stat info {};
    if (::stat(realPath_.constData(), &info) != 0 || info.st_nlink > 1)
        return;
    const int fd = createCopy();
    if (fd < 0)
        return;
    const long position = original_->tell();
    original_->seek(0);
    bool copied = true;
    for (;;) {
        const TagLib::ByteVector chunk = original_->readBlock(kCopyChunk);
        if (chunk.isEmpty())
            break;
        if (!writeAll(fd, chunk.data(), chunk.size())) {
            copied = false;
            break;
        }
    }
    copied = copied && ::fchmod(fd, info.st_mode & 07777) == 0;
    [[maybe_unused]] const int owned = ::fchown(fd, info.st_uid, info.st_gid);
    ::close(fd);
    if (copied)
        copy_ = std::make_unique<TagLib::FileStream>(copyPath_.constData());
    if (!copy_ || !copy_->isOpen() || copy_->readOnly()) {
        discardCopy();
        original_->seek(position);
        return;
    }
    copy_->seek(position);
}

// The record is made before the copy: a kill between the two leaves a record without a copy,
// which the next start removes, never a copy nobody knows of. Returns the copy open for
// writing, or -1.
int SafeSaveStream::createCopy() {
    const QFileInfo real(QFile::decodeName(realPath_));
    const QByteArray prefix =
        QFile::encodeName(real.dir().filePath(u'.' + real.fileName() + QLatin1String(kCopyMark)));
    const QString records = recordsFolder();
    const bool recorded = !records.isEmpty() && QDir().mkpath(records);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray suffix = randomSuffix();
        copyPath_ = prefix + suffix;
        if (recorded) {
            markerPath_ = QFile::encodeName(QDir(records).filePath(
                QStringLiteral("%1-%2").arg(::getpid()).arg(QString::fromLatin1(suffix))));
            if (::symlink(copyPath_.constData(), markerPath_.constData()) != 0)
                markerPath_.clear();
        }
        const int fd = ::open(copyPath_.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0)
            return fd;
        const bool taken = errno == EEXIST;
        copyPath_.clear();  // another file's name: never removed
        discardCopy();
        if (!taken)
            break;
    }
    return -1;
}

bool SafeSaveStream::commit() {
    if (!copy_)
        return true;
    copy_.reset();  // flushes what TagLib wrote
    original_.reset();
    const bool done = syncPath(copyPath_, O_RDONLY) &&
                      ::rename(copyPath_.constData(), realPath_.constData()) == 0;
    if (!done) {
        discardCopy();
        return false;
    }
    syncPath(QFile::encodeName(QFileInfo(QFile::decodeName(realPath_)).absolutePath()),
             O_RDONLY | O_DIRECTORY);
    if (!markerPath_.isEmpty())
        ::unlink(markerPath_.constData());
    copyPath_.clear();
    markerPath_.clear();
    return true;
}

void SafeSaveStream::discardCopy() {
    copy_.reset();
    if (!copyPath_.isEmpty())
        ::unlink(copyPath_.constData());
    if (!markerPath_.isEmpty())
        ::unlink(markerPath_.constData());
    copyPath_.clear();
    markerPath_.clear();
}

bool isUnfinishedSaveName(const QString& fileName) {
    static const QRegularExpression name(
        QStringLiteral("^\\..+%1[A-Za-z0-9]{6}$")
            .arg(QRegularExpression::escape(QLatin1String(kCopyMark))));
    return name.match(fileName).hasMatch();
}

void removeUnfinishedSaves() {
    const QString records = recordsFolder();
    if (records.isEmpty())
        return;
    const QDir folder(records);
    for (const QString& record :
         folder.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        const pid_t pid = pid_t(record.section(u'-', 0, 0).toLongLong());
        if (pid > 0 && processRuns(pid))
            continue;
        const QString path = folder.filePath(record);
        const QString copy = QFileInfo(path).symLinkTarget();
        if (!copy.isEmpty() && isUnfinishedSaveName(QFileInfo(copy).fileName()))
            QFile::remove(copy);
        QFile::remove(path);
    }
}

}  // namespace tessel::filetags
