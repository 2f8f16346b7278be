#include "FolderWalker.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <string_view>

namespace tessel {

namespace fs = std::filesystem;

FolderWalker::FolderWalker(const QString& folder) {
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir() || !info.isReadable() || !info.isExecutable())
        return;
    open_ = true;
    // The standard walker hands out the names' bytes, so a name that is not UTF-8 can be
    // counted instead of vanishing. It does not follow links to folders, so link loops end.
    const fs::path root(QFile::encodeName(info.absoluteFilePath()).toStdString());
    rootLength_ = root.native().size();
    it_ = fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied,
                                           error_);
}

std::optional<QString> FolderWalker::next() {
    const fs::recursive_directory_iterator end;
    if (started_ && !error_ && it_ != end)
        it_.increment(error_);
    started_ = true;
    for (; !error_ && it_ != end; it_.increment(error_)) {
        if (auto name = relativeName())
            return name;
        ++undecodableNames_;
        it_.disable_recursion_pending();
    }
    return std::nullopt;
}

bool FolderWalker::isFile() const {
    std::error_code error;
    return it_->is_regular_file(error);  // follows a link; false for a dangling one
}

std::optional<QString> FolderWalker::relativeName() const {
    // Every entry's path is the folder's own path, a separator unless the folder's path ends
    // in one, and the entry's names below it.
    const std::string_view path = it_->path().native();
    std::size_t start = rootLength_;
    if (start < path.size() && path[start] == '/')
        ++start;
    const std::string_view relative = path.substr(start);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString name = utf8.decode(QByteArrayView(relative.data(), qsizetype(relative.size())));
    if (utf8.hasError())
        return std::nullopt;
    return name;
}

}  // namespace tessel
