// The re-linking tool's search service: the audio files below one folder, their tags read once
// on a background thread at the first query, then asked once per dead track. Every query is
// answered asynchronously on the main thread, one answer per query, in the order asked; a
// folder that cannot be read, or an index that failed to build, answers with no files.
#pragma once

#include "support/ProgressSink.h"
#include "tools/RelinkIndex.h"

#include <QList>
#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

namespace tessel {

class FolderSearch : public QObject {
    Q_OBJECT

  public:
    using Answer = std::function<void(const QList<RelinkCandidate>& found)>;

    /// progress, when given, gets the line "Indexing %i/%i - %@" while the files are read; it
    /// must outlive this object. Main thread only.
    explicit FolderSearch(QString folder, ProgressSink* progress = nullptr,
                          QObject* parent = nullptr);
    /// A build still running is told to stop; its result is dropped.
    ~FolderSearch() override;

    /// Asks for the files of RelinkIndex::find; answer runs later on the main thread.
    void find(const QString& artist, const QString& title, const QString& album, Answer answer);

    /// The index once built (null before, and when it failed).
    std::shared_ptr<const RelinkIndex> index() const { return index_; }

  private:
    struct Query {
        QString artist;
        QString title;
        QString album;
        Answer answer;
    };

    void startBuilding();
    void indexBuilt(std::shared_ptr<const RelinkIndex> index);
    void answerLater(Query query);

    QString folder_;
    ProgressSink* progress_;
    enum class State { Idle, Building, Ready } state_ = State::Idle;
    std::shared_ptr<const RelinkIndex> index_;
    QList<Query> waiting_;
    std::shared_ptr<std::atomic<bool>> cancel_ = std::make_shared<std::atomic<bool>>(false);
};

}  // namespace tessel
