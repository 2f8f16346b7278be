#include "ReadStream.h"

#include <QFile>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessel::filetags {

ReadStream::ReadStream(const QString& path) : path_(QFile::encodeName(path)) {
    fd_ = ::open(path_.constData(), O_RDONLY | O_CLOEXEC);
    struct stat status {};
    if (fd_ >= 0 && ::fstat(fd_, &status) == 0)
        length_ = static_cast<long>(status.st_size);
}

ReadStream::~ReadStream() {
    if (fd_ >= 0)
        ::close(fd_);
}

TagLib::FileName ReadStream::name() const {
    return path_.constData();
}

TagLib::ByteVector ReadStream::readBlock(unsigned long length) {
    if (fd_ < 0 || length == 0 || position_ >= length_)
        return {};
    const long wanted =
        std::min(static_cast<long>(std::min(length, 0x7fffffffUL)), length_ - position_);
    TagLib::ByteVector data(static_cast<unsigned int>(wanted), '\0');
    long got = 0;
    while (got < wanted) {
        const ssize_t count = ::pread(fd_, data.data() + got, wanted - got, position_ + got);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break;  // the file got shorter meanwhile, or cannot be read: what was read stands
        got += count;
    }
    data.resize(static_cast<unsigned int>(got));
    position_ += got;
    return data;
}

void ReadStream::writeBlock(const TagLib::ByteVector&) {}

void ReadStream::insert(const TagLib::ByteVector&, unsigned long, unsigned long) {}

void ReadStream::removeBlock(unsigned long, unsigned long) {}

void ReadStream::seek(long offset, Position p) {
    const long base = p == Beginning ? 0 : p == Current ? position_ : length_;
    if (base + offset >= 0)
        position_ = base + offset;
}

void ReadStream::truncate(long) {}

}  // namespace tessel::filetags
