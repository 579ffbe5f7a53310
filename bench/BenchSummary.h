#pragma once

#include <string>

// Figures that are not a benchmark's own time (ratios, counts) for the closing summary.
namespace BenchSummary {
void add(const std::string& name, double value, const std::string& unit);
}
