// What the benchmark measures besides the floor: one entry per model reading
// or writing path, run on the same text.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace brindle::bench {

struct Measure {
    const char* name;
    // Prepares what the measure needs from the text (outside the timing) and
    // gives the timed work.
    std::function<std::function<void()>(const std::string&)> prepare;
    // Also reported as a ratio to this earlier measure, when set.
    const char* compare_to = nullptr;
};

std::vector<std::string> default_files();
std::vector<Measure> measures();

}  // namespace brindle::bench
