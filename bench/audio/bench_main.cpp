// Runs the audio benchmarks, then prints each goal with the figure measured
// against its baseline in this run.
#include "bench/audio/bench_support.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <string>

extern "C" {
#include <libavutil/log.h>
}

namespace {

double figure(const char* name) {
    const auto found = bench_audio::figures().find(name);
    return found == bench_audio::figures().end() ? -1 : found->second;
}

void line(const char* goal, const char* measured, double value, bool met) {
    std::printf("  %-62s %-22s %10.3f  %s\n", goal, measured, value,
                value < 0 ? "not run"
                : met     ? "met"
                          : "NOT MET");
}

} // namespace

int main(int argc, char** argv) {
    av_log_set_level(AV_LOG_QUIET);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::printf("\nAudio goals (figures from this run):\n");
    const double decode = figure("stream_decode_speed_vs_ffmpeg");
    line("1. stream decoding speed / raw FFmpeg decoding (>= 0.9)", "ratio", decode, decode >= 0.9);
    const double exact = figure("mp3_seek_exact_percent");
    line("2. accurate MP3 seeks exact (100 %)", "percent", exact, exact == 100);
    const double p50 = figure("mp3_seek_p50_ms"), p99 = figure("mp3_seek_p99_ms");
    line("   MP3 seek p50 (<= 1 ms)", "ms", p50, p50 <= 1);
    line("   MP3 seek p99 (<= 5 ms)", "ms", p99, p99 <= 5);
    const double wmaExact = figure("wma_seek_exact_percent");
    line("   WMA seeks exact (100 %)", "percent", wmaExact, wmaExact == 100);
    const double wmaP99 = figure("wma_seek_p99_ms");
    line("   WMA seek p99 (<= 5 ms)", "ms", wmaP99, wmaP99 <= 5);
    std::printf("   by format: decode-only stream and played stream / raw FFmpeg (>= 0.9), "
                "accurate seeks exact (100 %%), seek p99 (<= 5 ms)\n");
    for (const bench_audio::SongFormat& format : bench_audio::songFormats()) {
        const std::string name = format.name;
        const double ratio = figure((name + "_decode_stream_vs_ffmpeg").c_str());
        const double played = figure((name + "_decode_speed_vs_ffmpeg").c_str());
        const double seekExact = figure((name + "_seek_exact_percent").c_str());
        const double seekP99 = figure((name + "_seek_p99_ms").c_str());
        const bool met = ratio >= 0.9 && seekExact == 100 && seekP99 >= 0 && seekP99 <= 5;
        std::printf("     %-12s %8.3f %8.3f %8.1f %% %8.3f ms  %s\n", format.name, ratio, played,
                    seekExact, seekP99,
                    ratio < 0 || seekExact < 0 ? "not run"
                    : met                      ? "met"
                                               : "NOT MET");
    }
    const double vari = figure("varispeed_cost_vs_libsamplerate");
    line("3. varispeed cost / raw SINC_FASTEST per frame (<= 1.5)", "ratio", vari, vari <= 1.5);
    const double decks = figure("two_decks_times_real_time");
    line("4. two decks rendered offline (>= 100x real time)", "x real time", decks, decks >= 100);
    const double tags = figure("tag_open_median_ms");
    line("5. opening a 3-minute MP3 for its tags (median <= 2 ms)", "ms", tags, tags <= 2);
    const double memory = figure("sixty_minute_stream_mb");
    line("6. memory of a stream on a 60-minute file (<= 16 MB)", "MB", memory, memory <= 16);
    const double growth = figure("soak_rss_growth_mb");
    line("   resident memory growth over the silent soak run (flat)", "MB", growth, growth <= 4);
    const double callbackP99 = figure("soak_callback_p99_percent");
    line("   callback time p99 (<= 25 % of the period)", "percent", callbackP99, callbackP99 <= 25);
    const double underruns = figure("soak_underruns");
    line("   underruns in the soak run (0)", "count", underruns, underruns == 0);
    const double period = figure("jack_period_ms");
    const double latencyGoal = std::min(12.0, 2 * period); // a period plus PortAudio's (one) buffer
    for (const char* control : {"play", "volume"}) {
        const std::string name = control;
        const double p50 = figure((name + "_latency_p50_ms").c_str());
        const double p99 = figure((name + "_latency_p99_ms").c_str());
        std::printf("  %-62s %-22s %10.3f\n", ("7. " + name + " to sound on JACK, p50").c_str(),
                    "ms", p50);
        line(("   " + name + " to sound on JACK, p99 (<= period + buffer, <= 12 ms)").c_str(), "ms",
             p99, p99 <= latencyGoal);
    }
    const double xruns = figure("jack_soak_xruns");
    line("8. JACK soak: xruns reported by the server (0)", "count", xruns, xruns == 0);
    const double idleRate = figure("jack_idle_xruns_per_minute");
    const double soakRate = figure("jack_soak_xruns_per_minute");
    line("   JACK soak: xruns per minute, idle server (baseline)", "per minute", idleRate,
         idleRate == 0);
    line("   JACK soak: xruns per minute with both decks (<= baseline)", "per minute", soakRate,
         soakRate <= idleRate);
    const double jackP99 = figure("jack_soak_callback_p99_percent");
    line("   JACK soak: callback time p99 (<= 25 % of the period)", "percent", jackP99,
         jackP99 <= 25);
    const double jackGrowth = figure("jack_soak_rss_growth_mb");
    line("   JACK soak: resident memory growth (flat)", "MB", jackGrowth, jackGrowth <= 4);
    std::printf("  %-62s %-22s %10.0f\n", "9. wake-ups of the process on JACK, idle", "per minute",
                figure("wakeups_idle_per_minute"));
    std::printf("  %-62s %-22s %10.0f\n", "   wake-ups with one deck playing", "per minute",
                figure("wakeups_one_deck_per_minute"));
    const double wakeups = figure("wakeups_two_decks_per_minute");
    line("   wake-ups with two decks playing (< 26,400, a peer's)", "per minute", wakeups,
         wakeups < 26400);
    return 0;
}
