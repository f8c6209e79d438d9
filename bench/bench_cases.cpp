#include "bench_cases.hpp"

#include "models/ort/license_classifications.hpp"

#ifndef BRINDLE_CORPUS
#define BRINDLE_CORPUS "../shared/corpus"
#endif

namespace brindle::bench {

using namespace brindle::models;

std::vector<std::string> default_files() {
    return {BRINDLE_CORPUS "/license-classifications/02.yml"};
}

// Measures that fail on a text (another root type) report nothing useful;
// they are meant for the file kinds named in their labels.
std::vector<Measure> measures() {
    return {
        {"read LicenseClassifications",
         [](const std::string& text) { (void)read_document<ort::LicenseClassifications>(text); }},
    };
}

}  // namespace brindle::bench
