#include "StatusLine.h"

#include <QElapsedTimer>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QTextStream>

#include <algorithm>

#include <sys/ioctl.h>
#include <unistd.h>

namespace tessel::cli {

namespace {

// One lock for every status line and for writing aside: progress may come from the main thread
// while a worker's log message goes out.
QMutex& lineMutex() {
    static QMutex mutex;
    return mutex;
}

// The status line drawing in place, if any (guarded by lineMutex).
StatusLine*& activeLine() {
    static StatusLine* line = nullptr;
    return line;
}

constexpr qint64 kPacingMs = 1000;
const char* const kClearLine = "\r\x1b[K";

// A line drawn in place: control characters (a file name may hold an escape sequence) shown as
// "?", cut between whole characters to fit.
QString drawable(const QString& line, int room) {
    QString shown = line.left(room);
    if (!shown.isEmpty() && shown.back().isHighSurrogate())
        shown.chop(1);
    for (QChar& c : shown) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = u'?';
    }
    return shown;
}

// What a line counts ("Tracks " of "Tracks 13810/20000"): the text before its first digit.
QStringView stageOf(const QString& line) {
    const auto digit = std::find_if(line.begin(), line.end(), [](QChar c) { return c.isDigit(); });
    return QStringView(line).left(digit - line.begin());
}

qint64 steadyMilliseconds() {
    static const QElapsedTimer started = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return started.elapsed();
}

int descriptorOf(const QTextStream& stream) {
    const auto* file = qobject_cast<const QFile*>(stream.device());
    return file ? file->handle() : -1;
}

}  // namespace

StatusLine::StatusLine(QTextStream& stream, Mode mode, int columns, Clock clock)
    : stream_(stream),
      mode_(mode),
      columns_(std::max(columns, 2)),
      clock_(clock ? std::move(clock) : Clock(steadyMilliseconds)) {
    if (mode_ == Mode::InPlace) {
        QMutexLocker lock(&lineMutex());
        activeLine() = this;
    }
}

StatusLine::~StatusLine() {
    finish();
    QMutexLocker lock(&lineMutex());
    if (activeLine() == this)
        activeLine() = nullptr;
}

StatusLine::Mode StatusLine::modeFor(const QTextStream& stream) {
    const int descriptor = descriptorOf(stream);
    return descriptor >= 0 && isatty(descriptor) == 1 ? Mode::InPlace : Mode::Paced;
}

int StatusLine::columnsOf(const QTextStream& stream) {
    const int descriptor = descriptorOf(stream);
    winsize size{};
    if (descriptor < 0 || ioctl(descriptor, TIOCGWINSZ, &size) != 0 || size.ws_col == 0)
        return kDefaultColumns;
    return size.ws_col;
}

void StatusLine::show(const QString& line) {
    QMutexLocker lock(&lineMutex());
    switch (mode_) {
        case Mode::InPlace:
            // One short of the width: a line that fills it wraps on some terminals, and the
            // clear at the next update would only reach its second half.
            stream_ << kClearLine << drawable(line, columns_ - 1) << Qt::flush;
            drawn_ = true;
            break;
        case Mode::Paced: {
            const qint64 now = clock_();
            // The last line of a stage ("Tracks 100000/100000") is its final state too.
            if (!held_.isEmpty() && stageOf(held_) != stageOf(line)) {
                stream_ << held_ << Qt::endl;
                lastWritten_ = now;
                held_.clear();
            }
            if (lastWritten_ >= 0 && now - lastWritten_ < kPacingMs) {
                held_ = line;
                break;
            }
            stream_ << line << Qt::endl;
            lastWritten_ = now;
            held_.clear();
            break;
        }
        case Mode::Quiet:
            break;
    }
}

void StatusLine::finish() {
    QMutexLocker lock(&lineMutex());
    clearLocked();
    if (mode_ == Mode::Paced && !held_.isEmpty()) {
        stream_ << held_ << Qt::endl;
        held_.clear();
    }
    // The next run starts its own pacing with its first line.
    lastWritten_ = -1;
}

void StatusLine::print(const QString& text) {
    QMutexLocker lock(&lineMutex());
    clearLocked();
    stream_ << text << Qt::flush;
}

void StatusLine::aside(const std::function<void()>& write) {
    QMutexLocker lock(&lineMutex());
    if (StatusLine* line = activeLine())
        line->clearLocked();
    write();
}

void StatusLine::clearLocked() {
    if (!drawn_)
        return;
    stream_ << kClearLine << Qt::flush;
    drawn_ = false;
}

}  // namespace tessel::cli
