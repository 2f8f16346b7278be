// Progress lines on standard error. On a terminal the line is redrawn in place, cut to the
// terminal's width; in a log (a file, a pipe) a line is written at most once a second, and the
// last one when the run ends or moves on to counting something else ("Tracks 6/6" before
// "Playlists 1/8"), so a long run leaves a few lines and its final state rather than one line
// per update. Other output to standard error first clears a line drawn in place, so
// the two never share a line; the next update draws it again.
#pragma once

#include <QString>

#include <functional>

class QTextStream;

namespace tessel::cli {

class StatusLine {
  public:
    enum class Mode {
        InPlace,  // a terminal: one line, rewritten
        Paced,    // a log: at most one line a second, and the last
        Quiet,    // nothing is written
    };
    /// Milliseconds from any fixed start.
    using Clock = std::function<qint64()>;

    /// Writes to stream, which must outlive the line. columns: the width of the terminal (a
    /// line in place is cut one short of it). Without a clock, a monotonic clock is used.
    StatusLine(QTextStream& stream, Mode mode, int columns = kDefaultColumns, Clock clock = {});
    /// Ends the run as finish() does.
    ~StatusLine();
    StatusLine(const StatusLine&) = delete;
    StatusLine& operator=(const StatusLine&) = delete;

    /// InPlace when the stream writes to a terminal, Paced otherwise.
    static Mode modeFor(const QTextStream& stream);
    /// The width of the terminal the stream writes to, or kDefaultColumns.
    static int columnsOf(const QTextStream& stream);

    /// The run has reached this line. In a log, the line held back is written first when this
    /// one counts something else (its text before the first digit differs).
    void show(const QString& line);
    /// The run ended: a line in place is cleared; in a log, the last line is written if it was
    /// held back.
    void finish();
    /// Writes other text (with its own line ends) to the stream, after clearing a line in place.
    void print(const QString& text);
    /// Runs write, which writes to standard error by other means, after clearing the line in
    /// place of the status line that is drawing one, if any.
    static void aside(const std::function<void()>& write);

    static constexpr int kDefaultColumns = 100;

  private:
    void clearLocked();

    QTextStream& stream_;
    Mode mode_;
    int columns_;
    Clock clock_;
    bool drawn_ = false;       // in place: a line is on the screen
    QString held_;             // paced: the latest line, not yet written
    qint64 lastWritten_ = -1;  // paced: when a line was last written; -1 before the first
};

}  // namespace tessel::cli
