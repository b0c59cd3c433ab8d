#include "FrameStats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

double FrameStats::percentile(double p) const
{
    if (samples.empty()) {
        return 0.0;
    }
    std::vector<double> sorted = samples;
    std::sort(sorted.begin(), sorted.end());
    const double rank = std::ceil(p / 100.0 * static_cast<double>(sorted.size()));
    const std::size_t index = rank < 1.0 ? 0 : static_cast<std::size_t>(rank) - 1;
    return sorted[std::min(index, sorted.size() - 1)];
}

double FrameStats::mean() const
{
    if (samples.empty()) {
        return 0.0;
    }
    return std::accumulate(samples.begin(), samples.end(), 0.0) / static_cast<double>(samples.size());
}

std::string medianAndP99(const FrameStats& stats)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.2f / %.2f", stats.median(), stats.percentile(99.0));
    return text;
}
