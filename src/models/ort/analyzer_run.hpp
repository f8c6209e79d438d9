#pragma once

#include <optional>

#include "models/buffered.hpp"
#include "models/model.hpp"
#include "models/ort/analyzer_configuration.hpp"
#include "models/ort/analyzer_result.hpp"
#include "models/ort/base_run.hpp"

namespace brindle::models::ort {

// The analyzer section of a result: its run base part, the configuration it
// ran with and, if it got that far, what it found.
struct AnalyzerRun {
    BaseRun base;
    AnalyzerConfiguration config;
    std::optional<AnalyzerResult> result;

    friend bool operator==(const AnalyzerRun&, const AnalyzerRun&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::AnalyzerRun> {
    using T = ort::AnalyzerRun;
    static constexpr std::string_view name = "AnalyzerRun";
    static constexpr auto unknown_keys = UnknownKeys::base;
    static constexpr auto base = &T::base;
    static constexpr auto fields = std::tuple{
        required("config", &T::config),
        optional("result", &T::result),
    };
};
