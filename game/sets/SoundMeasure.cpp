#include "game/sets/SoundMeasure.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace tonvella {

namespace {

constexpr double kSilentPeak = 0.001;         // -60 dBFS
constexpr double kSoundStartBelowPeak = 0.01; // 40 dB under the sound's peak

struct TBiquad {
    double b0, b1, b2, a1, a2;
};

// The two stages of the K-weighting for a sampling rate: a high shelf for the head, then a
// high-pass; the constants are those of BS.1770 (as derived for any rate).
std::vector<TBiquad> KWeighting(double rate) {
    const double pi = 3.14159265358979323846;
    std::vector<TBiquad> stages;
    {
        const double f0 = 1681.974450955533, gain_db = 3.999843853973347, q = 0.7071752369554196;
        const double k = std::tan(pi * f0 / rate);
        const double vh = std::pow(10.0, gain_db / 20), vb = std::pow(vh, 0.4996667741545416);
        const double d = 1 + k / q + k * k;
        stages.push_back({(vh + vb * k / q + k * k) / d, 2 * (k * k - vh) / d,
                          (vh - vb * k / q + k * k) / d, 2 * (k * k - 1) / d,
                          (1 - k / q + k * k) / d});
    }
    {
        const double f0 = 38.13547087602444, q = 0.5003270373238773;
        const double k = std::tan(pi * f0 / rate);
        const double d = 1 + k / q + k * k;
        stages.push_back({1.0, -2.0, 1.0, 2 * (k * k - 1) / d, (1 - k / q + k * k) / d});
    }
    return stages;
}

void Filter(std::vector<double>& x, const TBiquad& f) {
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (double& v : x) {
        const double y = f.b0 * v + f.b1 * x1 + f.b2 * x2 - f.a1 * y1 - f.a2 * y2;
        x2 = x1;
        x1 = v;
        y2 = y1;
        y1 = y;
        v = y;
    }
}

double BlockLoudness(double mean_square) {
    return -0.691 + 10 * std::log10(std::max(mean_square, 1e-20));
}

// Gated loudness over 400 ms blocks that overlap by 75 %; a sound shorter than a block is one
// block. The channels' mean squares add up (left and right weigh 1).
double IntegratedLoudness(const std::vector<std::vector<double>>& channels, int rate) {
    const size_t length = channels[0].size();
    const size_t block = size_t(0.4 * rate), step = size_t(0.1 * rate);
    std::vector<std::vector<double>> sums;
    for (const auto& x : channels) {
        std::vector<double> sum(length + 1, 0.0);
        for (size_t i = 0; i < length; ++i)
            sum[i + 1] = sum[i] + x[i] * x[i];
        sums.push_back(std::move(sum));
    }
    std::vector<double> blocks;
    for (size_t start = 0; start == 0 || start + block <= length; start += step) {
        const size_t end = std::min(start + block, length);
        double z = 0;
        for (const auto& sum : sums)
            z += (sum[end] - sum[start]) / double(end - start);
        blocks.push_back(z);
        if (block >= length) break;
    }
    auto gated_mean = [&](double gate) {
        double total = 0;
        int count = 0;
        for (double z : blocks) {
            if (BlockLoudness(z) > gate) {
                total += z;
                ++count;
            }
        }
        return count ? total / count : -1.0;
    };
    const double above_absolute = gated_mean(-70);
    if (above_absolute < 0) return -70;
    const double relative_gate = BlockLoudness(above_absolute) - 10;
    return BlockLoudness(gated_mean(relative_gate));
}

} // namespace

TSoundMeasure MeasureSound(const TAudioSample& sample) {
    TSoundMeasure measure;
    const int channel_count = SampleChannels(sample.format);
    if (sample.length <= 0 || sample.hertz <= 0 || channel_count == 0) return measure;
    measure.seconds = double(sample.length) / sample.hertz;

    TAudioSampleHandle pcm =
        sample.Convert(channel_count == 1 ? SAMPLE_MONO16LE : SAMPLE_STEREO16LE);
    std::vector<std::vector<double>> channels(size_t(channel_count),
                                              std::vector<double>(size_t(sample.length)));
    double peak = 0;
    for (int i = 0; i < sample.length; ++i) {
        for (int c = 0; c < channel_count; ++c) {
            std::int16_t v;
            std::memcpy(&v, pcm->samples + 2 * (size_t(i) * channel_count + c), 2);
            const double x = v / 32768.0;
            channels[size_t(c)][size_t(i)] = x;
            peak = std::max(peak, std::fabs(x));
        }
    }
    if (peak < kSilentPeak) return measure;
    measure.silent = false;

    const double start_level = std::max(peak * kSoundStartBelowPeak, kSilentPeak);
    int first = 0;
    while (first < sample.length) {
        bool heard = false;
        for (const auto& x : channels)
            heard = heard || std::fabs(x[size_t(first)]) >= start_level;
        if (heard) break;
        ++first;
    }
    measure.silence_before = double(first) / sample.hertz;

    for (auto& x : channels)
        for (const TBiquad& stage : KWeighting(sample.hertz))
            Filter(x, stage);
    measure.loudness = IntegratedLoudness(channels, sample.hertz);
    return measure;
}

} // namespace tonvella
