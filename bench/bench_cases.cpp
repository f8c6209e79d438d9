#include "bench_cases.hpp"

#ifndef BRINDLE_CORPUS
#define BRINDLE_CORPUS "../shared/corpus"
#endif

namespace brindle::bench {

std::vector<std::string> default_files() {
    return {BRINDLE_CORPUS "/license-classifications/02.yml", BRINDLE_CORPUS "/results/31.yml"};
}

std::vector<Measure> measures() { return {}; }

}  // namespace brindle::bench
