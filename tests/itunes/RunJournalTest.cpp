// The runs journal of the library: what a run stores, the history's order, and pruning.
#include "TestSupport.h"
#include "itunes/Connection.h"
#include "itunes/RunJournal.h"

namespace tessel {
namespace {

using itunes::RunRecord;

class RunJournalTest : public test::TesselTest {
  protected:
    RunJournalTest()
        : connection(itunes::Connection::open(temp.filePath("library.sqlite"))),
          journal(connection) {}

    // A run of count tag records.
    qint64 runOf(int count, const QString& tool = QStringLiteral("Search & Replace")) {
        QList<RunRecord> records;
        for (int i = 0; i < count; ++i) {
            RunRecord record;
            record.position = i;
            record.path = QStringLiteral("/music/%1.mp3").arg(i);
            record.tag = QStringLiteral("name");
            records.append(record);
        }
        return journal.begin(tool, records);
    }

    QList<qint64> keptIds() const {
        QList<qint64> ids;
        for (const itunes::RunSummary& run : journal.runs())
            ids.append(run.id);
        return ids;
    }

    itunes::ConnectionPtr connection;
    itunes::RunJournal journal;
};

TEST_F(RunJournalTest, ARunKeepsItsRecordsAndTheHistoryListsNewestFirst) {
    RunRecord tag;
    tag.position = 4;
    tag.trackId = 17;
    tag.path = QStringLiteral("/music/ä.flac");
    tag.title = QStringLiteral("Song");
    tag.artist = QStringLiteral("Artist");
    tag.tag = QStringLiteral("year");
    tag.oldValue = qint64(1999);
    tag.newValue = qint64(2001);
    RunRecord absent = tag;
    absent.position = 6;
    absent.tag = QStringLiteral("comment");
    absent.oldValue = QVariant();
    absent.newValue = QStringLiteral("");
    const qint64 first = journal.begin(QStringLiteral("Data Mover"), {tag, absent});
    journal.markWritten(first, {4});

    RunRecord added;
    added.trackId = 3;
    added.playlistId = QStringLiteral("ABCDEF0123456789");
    added.membership = RunRecord::Membership::Added;
    const qint64 second = journal.begin(QStringLiteral("Playlist Manager"), {added});
    journal.markWritten(second, {0});
    journal.markUndone(second);

    const QList<itunes::RunSummary> runs = journal.runs();
    ASSERT_EQ(runs.size(), 2);
    EXPECT_EQ(runs.at(0).id, second);
    EXPECT_EQ(runs.at(0).tool, "Playlist Manager");
    EXPECT_TRUE(runs.at(0).undone);
    EXPECT_EQ(runs.at(1).tool, "Data Mover");
    EXPECT_EQ(runs.at(1).count, 2);
    EXPECT_EQ(runs.at(1).written, 1);
    EXPECT_FALSE(runs.at(1).undone);
    EXPECT_LE(qAbs(runs.at(1).time.secsTo(QDateTime::currentDateTimeUtc())), 60);
    EXPECT_EQ(journal.lastUndoable()->id, first);

    const QList<RunRecord> stored = journal.records(first);
    ASSERT_EQ(stored.size(), 2);
    EXPECT_EQ(stored.at(0).trackId, 17);
    EXPECT_EQ(stored.at(0).path, tag.path);
    EXPECT_EQ(stored.at(0).oldValue.toLongLong(), 1999);
    EXPECT_EQ(stored.at(0).newValue.toLongLong(), 2001);
    EXPECT_EQ(stored.at(0).state, RunRecord::State::Written);
    EXPECT_FALSE(stored.at(1).oldValue.isValid());
    EXPECT_EQ(stored.at(1).newValue, QStringLiteral(""));
    EXPECT_EQ(stored.at(1).state, RunRecord::State::Pending);
    const QList<RunRecord> membership = journal.records(second);
    ASSERT_EQ(membership.size(), 1);
    EXPECT_EQ(membership.first().membership, RunRecord::Membership::Added);
    EXPECT_EQ(membership.first().playlistId, added.playlistId);
    EXPECT_FALSE(journal.run(999));
}

TEST_F(RunJournalTest, PruningKeepsTheNewestFiftyRunsOrTheRecordLimitWhicheverKeepsMore) {
    for (int i = 0; i < 55; ++i)
        runOf(1);
    // Small runs stay while their records fit in the record limit.
    const qint64 last = runOf(1);
    EXPECT_EQ(keptIds().size(), 56);
    // Beyond it, the newest fifty stay.
    journal.prune(itunes::RunJournal::kKeptRuns, 0);
    const QList<qint64> ids = keptIds();
    ASSERT_EQ(ids.size(), 50);
    EXPECT_EQ(ids.first(), last);
    EXPECT_EQ(ids.last(), 7);
    EXPECT_TRUE(journal.records(6).isEmpty());
    EXPECT_EQ(journal.records(7).size(), 1);

    // Five runs of three records: two runs always stay, more while the records fit.
    runOf(3);
    runOf(3);
    runOf(3);
    journal.prune(2, 7);
    EXPECT_EQ(keptIds().size(), 2);
    runOf(3);
    journal.prune(1, 10);
    EXPECT_EQ(keptIds().size(), 3) << "3 + 3 + 3 records fit in 10";
}

}  // namespace
}  // namespace tessel
