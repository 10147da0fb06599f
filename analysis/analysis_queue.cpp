#include "analysis/analysis_queue.h"

#include "analysis/analysis_cache.h"

#include <QPointer>

namespace analysis {

AnalysisQueue::AnalysisQueue(AnalysisCache* cache, QObject* parent)
    : QObject(parent), cache_(cache), stopped_(std::make_shared<std::atomic<bool>>(false)) {
    qRegisterMetaType<analysis::TrackAnalysis>();
    pool_.setMaxThreadCount(1);
}

AnalysisQueue::~AnalysisQueue() {
    stopped_->store(true);
    pool_.clear();
    pool_.waitForDone();
}

void AnalysisQueue::setWorkers(int workers) {
    pool_.setMaxThreadCount(std::max(1, workers));
}

void AnalysisQueue::enqueue(const QString& file) {
    ++total_;
    const std::shared_ptr<std::atomic<bool>> stopped = stopped_;
    AnalysisCache* cache = cache_;
    const AnalysisOptions options = options_;
    QPointer<AnalysisQueue> self(this);
    pool_.start([=] {
        if (stopped->load())
            return;
        AnalysisOutcome outcome;
        if (cache)
            outcome.result = cache->find(file);
        if (!outcome.result) {
            outcome = analyseFile(file, options, stopped.get());
            if (outcome.result && cache)
                cache->store(file, *outcome.result);
        }
        if (stopped->load())
            return;
        // Reported on the queue's own thread; the queue waits for its workers
        // before it goes, so `self` is still there.
        QMetaObject::invokeMethod(
            self.data(),
            [self, stopped, file, outcome] {
                if (self && !stopped->load())
                    self->finish(file, outcome);
            },
            Qt::QueuedConnection);
    });
}

void AnalysisQueue::finish(const QString& file, const AnalysisOutcome& outcome) {
    ++done_;
    if (outcome.result)
        emit analysed(file, *outcome.result);
    else
        emit failed(file, outcome.error);
    emit progress(done_, total_);
    if (done_ == total_)
        total_ = done_ = 0;
}

void AnalysisQueue::stop() {
    stopped_->store(true);
    pool_.clear();
    stopped_ = std::make_shared<std::atomic<bool>>(false);
    total_ = done_ = 0;
    emit progress(0, 0);
}

} // namespace analysis
