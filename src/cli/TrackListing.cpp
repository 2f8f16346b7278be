#include "TrackListing.h"

#include <QFileInfo>

namespace tessel::cli {

namespace {

using itunes::TrackKind;
using itunes::trackstore::TrackRow;

constexpr qsizetype kFlushAt = 1 << 16;

bool livingFile(const TrackRow& row) {
    return row.kind == TrackKind::File && row.location && QFileInfo(*row.location).isFile();
}

QString locationText(const TrackRow& row) {
    if (row.kind == TrackKind::Url)
        return row.location.value_or(QStringLiteral("-"));
    if (row.kind == TrackKind::Shared)
        return QStringLiteral("-");
    return livingFile(row) ? *row.location : QStringLiteral("missing");
}

// A JSON string: quotes, backslashes and control characters escaped as QJsonDocument escapes
// them, everything else as UTF-8.
void appendString(QByteArray& out, const QString& text) {
    static const char hex[] = "0123456789abcdef";
    out += '"';
    for (const char byte : text.toUtf8()) {
        switch (byte) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(byte) < 0x20) {
                    out += "\\u00";
                    out += hex[(byte >> 4) & 0xf];
                    out += hex[byte & 0xf];
                } else {
                    out += byte;
                }
        }
    }
    out += '"';
}

void appendMember(QByteArray& out, const char* key, const QString& value, bool last = false) {
    out += "        \"";
    out += key;
    out += "\": ";
    appendString(out, value);
    out += last ? "\n" : ",\n";
}

}  // namespace

TrackListing::TrackListing(QTextStream& out, bool json) : out_(out), json_(json) {}

void TrackListing::write(const TrackRow& row) {
    if (json_)
        writeJson(row);
    else
        writeText(row);
    ++rows_;
}

void TrackListing::writeText(const TrackRow& row) {
    out_ << row.id << '\t' << itunes::kindName(row.kind) << '\t' << row.name << '\t' << row.artist
         << '\t' << row.album << '\t' << locationText(row) << '\n';
}

// The members in QJsonObject's order (by key), four spaces a level.
void TrackListing::writeJson(const TrackRow& row) {
    buffer_ += rows_ == 0 ? "[\n    {\n" : ",\n    {\n";
    appendMember(buffer_, "album", row.album);
    appendMember(buffer_, "artist", row.artist);
    buffer_ += "        \"id\": " + QByteArray::number(row.id) + ",\n";
    appendMember(buffer_, "kind", itunes::kindName(row.kind));
    if (livingFile(row))
        appendMember(buffer_, "location", *row.location);
    else
        buffer_ += "        \"location\": null,\n";
    appendMember(buffer_, "name", row.name);
    appendMember(buffer_, "persistentID", row.persistentId, true);
    buffer_ += "    }";
    if (buffer_.size() >= kFlushAt)
        flushBuffer();
}

void TrackListing::finish() {
    if (json_)
        buffer_ += rows_ == 0 ? "[\n]\n" : "\n]\n";
    flushBuffer();
}

void TrackListing::flushBuffer() {
    if (buffer_.isEmpty())
        return;
    out_.flush();
    out_.device()->write(buffer_);
    buffer_.clear();
}

}  // namespace tessel::cli
