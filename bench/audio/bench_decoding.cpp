// Goals 1, 3, 4 and 5: decoding through a stream against raw FFmpeg,
// varispeed against raw libsamplerate, two decks offline, tag-only opening.
#include "bench/audio/bench_support.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <ctime>
#include <samplerate.h>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

using namespace bench_audio;

namespace {

using Clock = std::chrono::steady_clock;
double seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// CPU time of this thread, seconds: the machine may be shared, and both sides
// of a comparison run on this one thread.
double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

// Baseline: FFmpeg demuxing and decoding the whole file, nothing else.
double rawFfmpegDecode(const std::string& path) {
    const double begin = threadSeconds();
    AVFormatContext* format = nullptr;
    avformat_open_input(&format, path.c_str(), nullptr, nullptr);
    avformat_find_stream_info(format, nullptr);
    const AVCodec* codec = avcodec_find_decoder(format->streams[0]->codecpar->codec_id);
    AVCodecContext* context = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(context, format->streams[0]->codecpar);
    avcodec_open2(context, codec, nullptr);
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    std::int64_t samples = 0;
    while (av_read_frame(format, packet) >= 0) {
        avcodec_send_packet(context, packet);
        av_packet_unref(packet);
        while (avcodec_receive_frame(context, frame) == 0)
            samples += frame->nb_samples;
    }
    benchmark::DoNotOptimize(samples);
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&context);
    avformat_close_input(&format);
    return threadSeconds() - begin;
}

// The same file through a stream of the library, rendered offline to the end.
double streamDecode(const std::string& path, int rate = 44100) {
    startOffline(rate);
    std::vector<short> out(2 * 4096);
    const double begin = threadSeconds();
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
    BASS_StreamPlay(stream, FALSE, 0);
    while (BASS_ChannelIsActive(stream) == BASS_ACTIVE_PLAYING)
        BASS_Offline_Render(out.data(), 4096);
    BASS_StreamFree(stream);
    const double spent = threadSeconds() - begin;
    stopEngine();
    return spent;
}

// The same file through a decode-only stream of the library: the decoding and
// conversion to 16-bit stereo a deck's stream does, without the mixer.
double decodeStreamDecode(const std::string& path, int rate) {
    startOffline(rate);
    std::vector<short> out(2 * 4096);
    const double begin = threadSeconds();
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_STREAM_DECODE);
    std::size_t bytes = 0;
    for (DWORD got;
         (got = BASS_ChannelGetData(stream, out.data(), static_cast<DWORD>(out.size() * 2))) !=
         static_cast<DWORD>(-1);)
        bytes += got;
    BASS_StreamFree(stream);
    const double spent = threadSeconds() - begin;
    stopEngine();
    return bytes > 0 ? spent : 1e9;
}

void DecodeThreeMinuteMp3(benchmark::State& state) {
    const std::string path = threeMinuteMp3();
    double raw = 1e9, ours = 1e9;
    for (auto _ : state) {
        ours = std::min(ours, streamDecode(path));
        raw = std::min(raw, rawFfmpegDecode(path));
    }
    state.counters["raw_ffmpeg_s"] = raw;
    state.counters["stream_s"] = ours;
    state.counters["speed_ratio"] = raw / ours;
    figures()["stream_decode_speed_vs_ffmpeg"] = raw / ours;
}
BENCHMARK(DecodeThreeMinuteMp3)->Iterations(5)->Unit(benchmark::kMillisecond);

// The same for a 3-minute file of each other container, at its own rate.
void DecodeThreeMinutesByFormat(benchmark::State& state) {
    const SongFormat& format = songFormats().at(static_cast<std::size_t>(state.range(0)));
    const std::string path = songFile(format, 180);
    double raw = 1e9, ours = 1e9, decodeOnly = 1e9;
    for (auto _ : state) {
        ours = std::min(ours, streamDecode(path, format.rate));
        decodeOnly = std::min(decodeOnly, decodeStreamDecode(path, format.rate));
        raw = std::min(raw, rawFfmpegDecode(path));
    }
    state.counters["speed_ratio"] = raw / ours;
    state.counters["decode_stream_ratio"] = raw / decodeOnly;
    figures()[std::string(format.name) + "_decode_speed_vs_ffmpeg"] = raw / ours;
    figures()[std::string(format.name) + "_decode_stream_vs_ffmpeg"] = raw / decodeOnly;
}
BENCHMARK(DecodeThreeMinutesByFormat)
    ->DenseRange(0, 5)
    ->Iterations(7)
    ->Unit(benchmark::kMillisecond);

constexpr std::size_t varispeedFrames = 44100 * 60;

// Baseline: libsamplerate SINC_FASTEST on float stereo at the same ratio.
double rawVarispeed(double speed) {
    int error = 0;
    SRC_STATE* state = src_new(SRC_SINC_FASTEST, 2, &error);
    std::vector<float> in(2 * 1024), out(2 * 512);
    for (std::size_t i = 0; i < in.size(); ++i)
        in[i] = static_cast<float>(0.5 * std::sin(0.06 * static_cast<double>(i / 2)));
    const double begin = threadSeconds();
    std::size_t produced = 0;
    while (produced < varispeedFrames) {
        SRC_DATA data{};
        data.data_in = in.data();
        data.input_frames = 1024;
        data.data_out = out.data();
        data.output_frames = 512;
        data.src_ratio = 1.0 / speed;
        src_process(state, &data);
        produced += static_cast<std::size_t>(data.output_frames_gen);
        benchmark::DoNotOptimize(out.data());
    }
    const double spent = threadSeconds() - begin;
    src_delete(state);
    return spent;
}

// A stream (PCM, so decoding costs little) rendered at the same speed.
double streamVarispeed(double speed) {
    startOffline();
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, threeMinuteWav().c_str(), 0, 0, 0);
    BASS_ChannelSetAttributes(stream, static_cast<int>(std::lround(44100 * speed)), -1, -101);
    BASS_StreamPlay(stream, FALSE, 0);
    std::vector<short> out(2 * 512);
    const double begin = threadSeconds();
    for (std::size_t done = 0; done < varispeedFrames; done += 512)
        BASS_Offline_Render(out.data(), 512);
    const double spent = threadSeconds() - begin;
    BASS_StreamFree(stream);
    stopEngine();
    return spent;
}

void VarispeedPerFrame(benchmark::State& state) {
    threeMinuteWav();
    double raw = 1e9, ours = 1e9, native = 1e9;
    for (auto _ : state) {
        raw = std::min(raw, rawVarispeed(1.07));
        ours = std::min(ours, streamVarispeed(1.07));
        native = std::min(native, streamVarispeed(1.0));
    }
    const double perFrame = 1e9 / varispeedFrames;
    state.counters["raw_src_ns_per_frame"] = raw * perFrame;
    state.counters["stream_ns_per_frame"] = ours * perFrame;
    state.counters["stream_native_rate_ns_per_frame"] = native * perFrame;
    state.counters["ratio"] = ours / raw;
    figures()["varispeed_cost_vs_libsamplerate"] = ours / raw;
}
BENCHMARK(VarispeedPerFrame)->Iterations(3)->Unit(benchmark::kMillisecond);

void TwoDecksOffline(benchmark::State& state) {
    const std::string mp3 = threeMinuteMp3(), wma = threeMinuteWma();
    constexpr std::size_t frames = 44100 * 60;
    double best = 1e9;
    for (auto _ : state) {
        startOffline();
        const HSTREAM left = BASS_StreamCreateFile(FALSE, mp3.c_str(), 0, 0, BASS_MP3_SETPOS);
        const HSTREAM right = BASS_WMA_StreamCreateFile(FALSE, wma.c_str(), 0, 0, 0);
        BASS_ChannelSetAttributes(left, 47187, 80, -20);
        BASS_ChannelSetAttributes(right, 41013, 65, 30);
        BASS_StreamPlay(left, FALSE, 0);
        BASS_WMA_StreamPlay(right, FALSE, 0);
        std::vector<short> out(2 * 512);
        const auto begin = Clock::now();
        for (std::size_t done = 0; done < frames; done += 512)
            BASS_Offline_Render(out.data(), 512);
        best = std::min(best, seconds(Clock::now() - begin));
        BASS_StreamFree(left);
        BASS_WMA_StreamFree(right);
        stopEngine();
    }
    state.counters["times_real_time"] = 60.0 / best;
    figures()["two_decks_times_real_time"] = 60.0 / best;
}
BENCHMARK(TwoDecksOffline)->Iterations(3)->Unit(benchmark::kMillisecond);

void OpenForTagsOnly(benchmark::State& state) {
    const std::string path = threeMinuteMp3();
    startOffline();
    std::vector<double> times;
    for (auto _ : state) {
        const auto begin = Clock::now();
        const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0x10000);
        benchmark::DoNotOptimize(BASS_StreamGetTags(stream, BASS_TAG_ID3));
        BASS_StreamFree(stream);
        times.push_back(seconds(Clock::now() - begin) * 1e3);
    }
    stopEngine();
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    state.counters["median_ms"] = median;
    figures()["tag_open_median_ms"] = median;
}
BENCHMARK(OpenForTagsOnly)->Iterations(200)->Unit(benchmark::kMicrosecond);

} // namespace
