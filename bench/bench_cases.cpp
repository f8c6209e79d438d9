#include "bench_cases.hpp"

#include <cstdlib>
#include <memory>

#include "models/json_writer.hpp"
#include "models/ort/license_classifications.hpp"
#include "models/ort/ort_result.hpp"
#include "models/write.hpp"
#include "models/yaml_writer.hpp"

#ifndef BRINDLE_CORPUS
#define BRINDLE_CORPUS "../shared/corpus"
#endif

namespace brindle::bench {

using namespace brindle::models;

// The corpus is where BRINDLE_CORPUS says, or where the build put it.
std::vector<std::string> default_files() {
    const char* env = std::getenv("BRINDLE_CORPUS");
    std::string corpus = env && *env ? env : BRINDLE_CORPUS;
    return {corpus + "/license-classifications/02.yml", corpus + "/results/12.yml"};
}

namespace {

template <class Root>
Measure reading(const char* name) {
    return {name, [](const std::string& text) {
                return std::function<void()>([&text] { (void)read_document<Root>(text); });
            }};
}

template <class Root, class Writer>
Measure writing(const char* name, const char* read_name) {
    return {name,
            [](const std::string& text) {
                auto model = std::make_shared<Root>(read_document<Root>(text));
                return std::function<void()>([model] {
                    Writer w;
                    write(w, *model);
                    (void)w.take();
                });
            },
            read_name};
}

}  // namespace

std::vector<Measure> measures() {
    using LC = ort::LicenseClassifications;
    return {
        reading<LC>("read LicenseClassifications"),
        writing<LC, JsonWriter>("write its JSON", "read LicenseClassifications"),
        writing<LC, YamlWriter>("write its YAML", "read LicenseClassifications"),
        reading<ort::OrtResult>("read OrtResult"),
        writing<ort::OrtResult, JsonWriter>("write its JSON", "read OrtResult"),
        writing<ort::OrtResult, YamlWriter>("write its YAML", "read OrtResult"),
    };
}

}  // namespace brindle::bench
