#include "FolderSearch.h"

#include "support/FormattedString.h"
#include "support/Tasks.h"

#include <QDebug>
#include <QPointer>

namespace tessel {

FolderSearch::FolderSearch(QString folder, ProgressSink* progress, QObject* parent)
    : QObject(parent), folder_(std::move(folder)), progress_(progress) {}

FolderSearch::~FolderSearch() {
    cancel_->store(true);
}

void FolderSearch::find(const QString& artist, const QString& title, const QString& album,
                        Answer answer) {
    Query query{artist, title, album, std::move(answer)};
    if (state_ == State::Ready) {
        answerLater(std::move(query));
        return;
    }
    waiting_.append(std::move(query));
    if (state_ == State::Idle)
        startBuilding();
}

// The worker never touches this object: what it reports and what it built reach it on the main
// thread, and only while it still exists.
void FolderSearch::startBuilding() {
    state_ = State::Building;
    const QPointer<FolderSearch> self(this);
    runInBackground([self, folder = folder_, cancel = cancel_, report = progress_ != nullptr] {
        std::shared_ptr<const RelinkIndex> index;
        try {
            const auto progress = [&](int done, int count, const QString& fileName) {
                if (!report)
                    return;
                const QString line =
                    formattedString(QStringLiteral("Indexing %i/%i - %@"), done, count, fileName);
                runOnMainAsync([self, line] {
                    if (self && self->progress_)
                        self->progress_->setProgress(line);
                });
            };
            index = std::make_shared<const RelinkIndex>(
                RelinkIndex::build(folder, progress, cancel.get()));
        } catch (const std::exception& error) {
            qWarning().noquote() << QStringLiteral("The folder “%1” could not be searched: %2")
                                        .arg(folder, QString::fromLocal8Bit(error.what()));
        }
        runOnMainAsync([self, index] {
            if (self)
                self->indexBuilt(index);
        });
    });
}

void FolderSearch::indexBuilt(std::shared_ptr<const RelinkIndex> index) {
    state_ = State::Ready;
    index_ = std::move(index);
    const QList<Query> waiting = std::exchange(waiting_, {});
    for (const Query& query : waiting)
        answerLater(query);
}

void FolderSearch::answerLater(Query query) {
    QList<RelinkCandidate> found;
    if (index_)
        found = index_->find(query.artist, query.title, query.album);
    // Queued even when the answer is known, so a query never completes inside the call that
    // started it.
    QMetaObject::invokeMethod(
        this, [answer = std::move(query.answer), found] { answer(found); }, Qt::QueuedConnection);
}

}  // namespace tessel
