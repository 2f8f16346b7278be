#include "cli/StatusLine.h"

#include <QBuffer>
#include <QTextStream>

#include <gtest/gtest.h>

namespace tessel::cli {
namespace {

const QString kClear = QStringLiteral("\r\x1b[K");

// A stream into memory and a clock the test moves by hand.
class StatusLineTest : public ::testing::Test {
  protected:
    StatusLineTest() {
        buffer.open(QIODevice::WriteOnly);
        stream.setDevice(&buffer);
    }
    QString written() {
        stream.flush();
        return QString::fromUtf8(buffer.data());
    }
    StatusLine::Clock clock() {
        return [this] { return now; };
    }

    QBuffer buffer;
    QTextStream stream;
    qint64 now = 0;
};

TEST_F(StatusLineTest, ALogGetsALineASecondAndAlwaysTheLast) {
    {
        StatusLine line(stream, StatusLine::Mode::Paced, 80, clock());
        // 1,100 updates over 2.2 s: the first, one when a second has passed, and the last.
        for (int i = 1; i <= 1100; ++i) {
            line.show(QStringLiteral("Tracks %1/1100").arg(i));
            now += 2;
        }
        line.finish();
        EXPECT_EQ(written(),
                  "Tracks 1/1100\nTracks 501/1100\nTracks 1001/1100\nTracks 1100/1100\n");

        // The last line already written is not written again; a new run starts at once.
        buffer.buffer().clear();
        buffer.seek(0);
        now += 5000;
        line.show(QStringLiteral("Playlists 1/2"));
        now += 1500;
        line.show(QStringLiteral("Playlists 2/2"));
        line.finish();
        line.finish();
        now += 10;
        line.show(QStringLiteral("Tracks 1/3"));
        EXPECT_EQ(written(), "Playlists 1/2\nPlaylists 2/2\nTracks 1/3\n");

        // Each stage's last count is kept, even when the next stage follows at once.
        buffer.buffer().clear();
        buffer.seek(0);
        line.show(QStringLiteral("Tracks 2/3"));
        line.show(QStringLiteral("Tracks 3/3"));
        line.show(QStringLiteral("Playlists 1/8"));
        line.show(QStringLiteral("Playlists 2/8"));
        line.finish();
        EXPECT_EQ(written(), "Tracks 3/3\nPlaylists 2/8\n");
    }
    // Nothing drawn in place, so nothing to clear when the line goes.
    EXPECT_FALSE(written().contains(kClear));
}

TEST_F(StatusLineTest, ATerminalLineIsRedrawnInPlaceAndClearedForOtherOutput) {
    StatusLine line(stream, StatusLine::Mode::InPlace, 12, clock());
    line.show(QStringLiteral("Tracks 1/3"));
    line.show(QStringLiteral("Tracks 2/3 - a name too long\x1b[2J"));
    EXPECT_EQ(written(), kClear + "Tracks 1/3" + kClear + "Tracks 2/3 ");
    // An alert starts on a clean line; the next update draws the line again.
    line.print(QStringLiteral("No Changes: nothing to do\n"));
    line.show(QStringLiteral("\x1b]0;title\x07"));
    line.finish();
    line.finish();
    EXPECT_EQ(written(), kClear + "Tracks 1/3" + kClear + "Tracks 2/3 " + kClear +
                             "No Changes: nothing to do\n" + kClear + "?]0;title?" + kClear);
}

TEST_F(StatusLineTest, OutputAsideClearsTheLineOfTheStatusLineDrawingOne) {
    QStringList order;
    StatusLine::aside([&] { order.append("aside without a line"); });
    {
        StatusLine line(stream, StatusLine::Mode::InPlace, 80, clock());
        line.show(QStringLiteral("Collecting"));
        StatusLine::aside([&] { order.append(written()); });
        line.show(QStringLiteral("Collecting 2"));
    }
    EXPECT_EQ(order, (QStringList{"aside without a line", kClear + "Collecting" + kClear}));
    EXPECT_TRUE(written().endsWith(kClear + "Collecting 2" + kClear)) << "cleared when it goes";
    const qint64 before = buffer.size();
    StatusLine::aside([] {});
    EXPECT_EQ(buffer.size(), before) << "a line that went is not cleared again";

    StatusLine quiet(stream, StatusLine::Mode::Quiet, 80, clock());
    quiet.show(QStringLiteral("Collecting"));
    quiet.finish();
    EXPECT_EQ(buffer.size(), before);
}

TEST_F(StatusLineTest, AStreamIntoMemoryIsALog) {
    EXPECT_EQ(StatusLine::modeFor(stream), StatusLine::Mode::Paced);
    EXPECT_EQ(StatusLine::columnsOf(stream), StatusLine::kDefaultColumns);
}

}  // namespace
}  // namespace tessel::cli
