// Writing a listing of tracks as its rows come, never holding the whole list: tab-separated
// lines, or a JSON array laid out as QJsonDocument lays out an indented one.
#pragma once

#include "itunes/TrackStore.h"

#include <QByteArray>
#include <QTextStream>

namespace tessel::cli {

class TrackListing {
  public:
    TrackListing(QTextStream& out, bool json);

    void write(const itunes::trackstore::TrackRow& row);
    /// Ends the listing; an empty one is an empty array.
    void finish();

  private:
    void writeJson(const itunes::trackstore::TrackRow& row);
    void writeText(const itunes::trackstore::TrackRow& row);
    void flushBuffer();

    QTextStream& out_;
    bool json_;
    qsizetype rows_ = 0;
    QByteArray buffer_;  // UTF-8 JSON not yet written
};

}  // namespace tessel::cli
