#pragma once
// Timings of many frames of one kind, kept whole so that medians and tail percentiles are
// exact rather than estimated.

#include <string>
#include <vector>

class FrameStats {
public:
    void add(double millis) { samples.push_back(millis); }
    std::size_t count() const { return samples.size(); }

    double median() const { return percentile(50.0); }
    // Nearest-rank percentile (the smallest sample at or above p percent of all); 0 when empty.
    double percentile(double p) const;
    double maximum() const { return percentile(100.0); }
    double mean() const;

private:
    std::vector<double> samples;   // ms, in arrival order
};

// "median / p99" to two decimals, the form every frame table of the report uses.
std::string medianAndP99(const FrameStats& stats);
