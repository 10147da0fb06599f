#pragma once
// Analyses one file: decodes it through a decode-only stream and measures
// its tempo, beat grid, loudness and music span in one pass. Runs on any
// thread (a worker's), never the audio callback; a few MB of memory whatever
// the track's length.
#include "analysis/track_analysis.h"

#include <QString>
#include <atomic>
#include <optional>

namespace analysis {

struct AnalysisOutcome {
    std::optional<TrackAnalysis> result; // empty on failure or when stopped
    QString error;                       // why, for the user
};

// `stop`, when given and set, ends the analysis early (no result).
AnalysisOutcome analyseFile(const QString& path, const AnalysisOptions& options,
                            const std::atomic<bool>* stop = nullptr);

} // namespace analysis
