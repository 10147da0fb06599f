#pragma once
// The running output's figures as a small text report, one "name value" per
// line, for soak runs and benchmarks that watch the program from outside:
//   callbacks N, late_callbacks N, stream_underruns N,
//   callback_p99_percent X (callback time, percent of the period).
#include <QByteArray>

namespace engine {

QByteArray outputReport();

} // namespace engine
