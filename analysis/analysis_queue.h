#pragma once
// Files waiting for analysis, analysed on worker threads (never the
// user-interface thread, never the audio callback): a file already in the
// cache answers from it, any other is analysed and stored. Results and
// progress come back as signals on the thread that owns the queue.
#include "analysis/analyser.h"
#include "analysis/track_analysis.h"

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <atomic>
#include <memory>

namespace analysis {

class AnalysisCache;

class AnalysisQueue : public QObject {
    Q_OBJECT
public:
    // `cache` may be null (nothing kept); it must outlive the queue.
    explicit AnalysisQueue(AnalysisCache* cache, QObject* parent = nullptr);
    ~AnalysisQueue() override;

    void setOptions(const AnalysisOptions& options) { options_ = options; }
    // Worker threads, at least 1 (default 1).
    void setWorkers(int workers);

    // Queues `file` for analysis (after those already waiting).
    void enqueue(const QString& file);
    // Drops the files still waiting and ends the running analyses early;
    // their results are not reported.
    void stop();
    // Files queued since the queue was last idle, and how many are done.
    int total() const { return total_; }
    int done() const { return done_; }
    bool idle() const { return done_ == total_; }

signals:
    void analysed(const QString& file, const analysis::TrackAnalysis& result);
    void failed(const QString& file, const QString& message);
    // After every file: `done` of `total` (both 0 after stop()).
    void progress(int done, int total);

private:
    void finish(const QString& file, const AnalysisOutcome& outcome);

    AnalysisCache* cache_;
    AnalysisOptions options_;
    QThreadPool pool_;
    // Set by stop(); each batch of work holds the flag of its time.
    std::shared_ptr<std::atomic<bool>> stopped_;
    int total_ = 0;
    int done_ = 0;
};

} // namespace analysis
