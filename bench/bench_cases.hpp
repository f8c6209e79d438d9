// What the benchmark measures besides the floor: one entry per model reading
// or writing path, run on the same text.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace brindle::bench {

struct Measure {
    const char* name;
    std::function<void(const std::string&)> run;
};

std::vector<std::string> default_files();
std::vector<Measure> measures();

}  // namespace brindle::bench
