// The stream TagLib saves a music file through. A save that only overwrites bytes goes into
// the file in place. The first change of the file's layout (a tag that grows or shrinks
// beyond its padding, which moves the audio) switches the save to a copy beside the file, in
// the same folder and with the same permissions; commit() syncs the copy and renames it over
// the file. A kill at any moment then leaves the old file or the new one, never audio moved
// halfway. A copy left by a killed process is named so it is recognised and removed at the
// next start (removeUnfinishedSaves).
#pragma once

#include <QByteArray>
#include <QString>

#include <taglib/tfilestream.h>

#include <memory>

namespace tessel::filetags {

class SafeSaveStream : public TagLib::IOStream {
  public:
    explicit SafeSaveStream(const QString& path);
    /// An uncommitted copy is removed; the file keeps what it held.
    ~SafeSaveStream() override;
    SafeSaveStream(const SafeSaveStream&) = delete;
    SafeSaveStream& operator=(const SafeSaveStream&) = delete;

    /// Ends a successful save: a copy is synced and renamed over the file. False when that
    /// fails; the file is then unchanged.
    bool commit();
    /// True once the save went to a copy.
    bool copied() const { return copy_ != nullptr; }

    TagLib::FileName name() const override;
    TagLib::ByteVector readBlock(unsigned long length) override;
    void writeBlock(const TagLib::ByteVector& data) override;
    void insert(const TagLib::ByteVector& data, unsigned long start = 0,
                unsigned long replace = 0) override;
    void removeBlock(unsigned long start = 0, unsigned long length = 0) override;
    bool readOnly() const override;
    bool isOpen() const override;
    void seek(long offset, Position p = Beginning) override;
    void clear() override;
    long tell() const override;
    long length() override;
    void truncate(long length) override;

  private:
    TagLib::IOStream& current() const;
    void switchToCopy();
    int createCopy();
    void discardCopy();

    QByteArray path_;      // the file as given: TagLib takes its type from the name
    QByteArray realPath_;  // the file itself, a link followed
    std::unique_ptr<TagLib::FileStream> original_;
    std::unique_ptr<TagLib::FileStream> copy_;
    QByteArray copyPath_;
    QByteArray markerPath_;
};

/// Removes the copies that processes killed during a save left behind (and their records),
/// leaving those of processes still running.
void removeUnfinishedSaves();

/// True for the name of such a copy.
bool isUnfinishedSaveName(const QString& fileName);

}  // namespace tessel::filetags
