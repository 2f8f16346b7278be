// The size and bitrate estimate: how much room the gathered tracks take, and how much they
// would take converted to a target bitrate (only the larger ones, or all of them). It changes
// nothing; its result is one message.
#pragma once

#include "Collection.h"
#include "support/Presenter.h"
#include "support/ProgressSink.h"

#include <QList>

#include <optional>

namespace tessel {

/// The sums of one estimate. Sizes are in kilobytes (kilobits per second / 8 x seconds), each
/// track's size cut to whole kilobytes before it is added.
struct SizeEstimate {
    int target = 128;  // the target bitrate, kbit/s
    int tracks = 0;
    double currentKilobytes = 0;
    double downConvertedKilobytes = 0;  // tracks above the target brought down to it
    double allConvertedKilobytes = 0;   // every track at the target
    double bitrateSum = 0;
    double downConvertedBitrateSum = 0;

    /// Adds one track: its duration (seconds, taken in single precision) and bitrate.
    void add(float duration, qint32 bitrate);

    /// The sizes in MB (1024 kilobytes).
    static double megabytes(double kilobytes) { return kilobytes * 0.0009765625; }
    /// The averages over the tracks; 0 for an empty list, which has no bitrate to average.
    double averageBitrate() const;
    double averageDownConvertedBitrate() const;
};

class SizeCalculator {
  public:
    struct Options {
        int selectedBitrate = 0;  // 0: 128, 1: 192, 2: 256 kbit/s
    };

    /// The target bitrates, by the value of selectedBitrate.
    static const QList<int>& bitrates();

    explicit SizeCalculator(Options options);

    /// The check on the main thread: a bitrate choice from the menu.
    std::optional<AlertRequest> validate() const;
    int targetBitrate() const;

    struct Result {
        bool gathered = false;
        SizeEstimate estimate;
        /// The error that ended the loop early; an estimate cut short is no estimate.
        std::optional<TesselError> stoppedBy = std::nullopt;
    };
    /// The background run (validate() first): progress "%i/%i - %@" per track. A duration or
    /// bitrate the track does not have counts as 0; an error reading a track stops the run.
    Result estimate(const TrackGatherer& gather, ProgressSink& progress) const;

    /// The title of the result alert, "Playlist/Folder size".
    static QString resultTitle() { return QStringLiteral("Playlist/Folder size"); }
    /// The result alert of an estimate.
    static AlertRequest resultAlert(const SizeEstimate& estimate);

  private:
    Options options_;
};

}  // namespace tessel
