#include "ExportCount.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace tessel::itunes {

namespace {

// Enough bytes after a '<' to tell the tags that matter, and a top-level key's text.
constexpr qsizetype kLookAhead = 64;
constexpr qsizetype kChunk = 1 << 20;

bool startsWith(const char* at, const char* end, const char* text) {
    const size_t length = std::strlen(text);
    return size_t(end - at) >= length && std::memcmp(at, text, length) == 0;
}

// Follows the nesting of dicts and arrays, and which top-level key's value it is in.
class Counter {
  public:
    // at: just after a '<'.
    void tag(const char* at, const char* end) {
        if (startsWith(at, end, "dict"))
            open(at + 4, end, true);
        else if (startsWith(at, end, "array"))
            open(at + 5, end, false);
        else if (startsWith(at, end, "/dict") || startsWith(at, end, "/array"))
            depth_ = depth_ > 0 ? depth_ - 1 : 0;
        else if (depth_ == 1 && startsWith(at, end, "key>"))
            topKey(at + 4, end);
    }

    const ExportCounts& counts() const { return counts_; }

  private:
    enum class Section { Other, Tracks, Playlists };

    void open(const char* after, const char* end, bool dict) {
        if (after >= end || (*after != '>' && *after != '/' && *after != ' '))
            return;  // another element whose name starts alike
        if (depth_ == 2 && dict && section_ == Section::Tracks)
            ++counts_.tracks;
        if (depth_ == 2 && dict && section_ == Section::Playlists)
            ++counts_.playlists;
        if (*after != '/')
            ++depth_;
    }

    void topKey(const char* text, const char* end) {
        section_ = Section::Other;
        if (startsWith(text, end, "Tracks</key>"))
            section_ = Section::Tracks;
        else if (startsWith(text, end, "Playlists</key>"))
            section_ = Section::Playlists;
    }

    ExportCounts counts_;
    int depth_ = 0;
    Section section_ = Section::Other;
};

}  // namespace

ExportCounts countExport(const QString& path) {
    // A pipe could be read only once, and the import needs it; opening a named one again
    // could wait for a writer that never comes.
    if (!QFileInfo(path).isFile())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.isSequential())
        return {};
    Counter counter;
    QByteArray buffer(kChunk + kLookAhead, Qt::Uninitialized);
    qsizetype kept = 0;  // bytes carried over from the previous chunk
    for (;;) {
        const qint64 read = file.read(buffer.data() + kept, kChunk);
        if (read < 0)
            return {};
        const bool last = read == 0;
        const char* const begin = buffer.constData();
        const char* const end = begin + kept + read;
        const char* at = begin;
        while (const void* found = std::memchr(at, '<', size_t(end - at))) {
            at = static_cast<const char*>(found) + 1;
            if (!last && end - at < kLookAhead) {
                --at;  // read on before telling this tag
                break;
            }
            counter.tag(at, end);
        }
        if (last)
            break;
        kept = std::min<qsizetype>(end - at, kLookAhead);
        std::memmove(buffer.data(), end - kept, size_t(kept));
    }
    return counter.counts();
}

}  // namespace tessel::itunes
