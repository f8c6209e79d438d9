#pragma once

#include <optional>
#include <string>

#include "models/model.hpp"
#include "models/ort/advisor_run.hpp"
#include "models/ort/analyzer_run.hpp"
#include "models/ort/evaluator_run.hpp"
#include "models/ort/repository.hpp"
#include "models/ort/scanner_run.hpp"

namespace brindle::models::ort {

// The root of a result file: the reviewed repository, the runs of the four
// stages, each optional, and free labels.  Keys it does not know are skipped.
struct OrtResult {
    Repository repository;
    std::optional<AnalyzerRun> analyzer;
    std::optional<ScannerRun> scanner;
    std::optional<AdvisorRun> advisor;
    std::optional<EvaluatorRun> evaluator;
    OrderedMap<std::string, std::string> labels;

    friend bool operator==(const OrtResult&, const OrtResult&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::OrtResult> {
    using T = ort::OrtResult;
    static constexpr std::string_view name = "OrtResult";
    static constexpr auto unknown_keys = UnknownKeys::skip;
    static constexpr auto fields = std::tuple{
        required("repository", &T::repository),
        optional("analyzer", &T::analyzer),
        optional("scanner", &T::scanner),
        optional("advisor", &T::advisor),
        optional("evaluator", &T::evaluator),
        defaulted("labels", &T::labels),
    };
};
