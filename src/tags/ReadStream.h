// The stream TagLib reads a music file through when nothing is to be written. It reads the
// bytes asked for at the position asked for and keeps the position and the length itself, so
// a parse costs a handful of reads of the file instead of a seek and a buffer refill for every
// step of TagLib's search through the file.
#pragma once

#include <QByteArray>
#include <QString>

#include <taglib/tiostream.h>

namespace tessel::filetags {

class ReadStream : public TagLib::IOStream {
  public:
    /// Opens the file for reading; isOpen() is false when it cannot be opened. The file's
    /// length is taken once: the parse sees the file as it was when opened.
    explicit ReadStream(const QString& path);
    ~ReadStream() override;
    ReadStream(const ReadStream&) = delete;
    ReadStream& operator=(const ReadStream&) = delete;

    TagLib::FileName name() const override;
    TagLib::ByteVector readBlock(unsigned long length) override;
    /// Nothing is ever written through this stream.
    void writeBlock(const TagLib::ByteVector& data) override;
    void insert(const TagLib::ByteVector& data, unsigned long start = 0,
                unsigned long replace = 0) override;
    void removeBlock(unsigned long start = 0, unsigned long length = 0) override;
    bool readOnly() const override { return true; }
    bool isOpen() const override { return fd_ >= 0; }
    /// As a file's own position: a position before the start is refused and the position stays.
    void seek(long offset, Position p = Beginning) override;
    void clear() override {}
    long tell() const override { return position_; }
    long length() override { return length_; }
    void truncate(long length) override;

  private:
    QByteArray path_;  // the file as given: TagLib takes its type from the name
    int fd_ = -1;
    long length_ = 0;
    long position_ = 0;
};

}  // namespace tessel::filetags
