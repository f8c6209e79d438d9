#pragma once

#include <string>

#include "models/buffered.hpp"
#include "models/ort/environment.hpp"

namespace brindle::models::ort {

// The shared first part of every run.  It has no mapping of its own: a run
// names it as Model<Run>::base, reads it from the keys the run does not own,
// and writes its fields before the run's own.
struct BaseRun {
    std::string start_time;
    std::string end_time;
    Environment environment;

    friend bool operator==(const BaseRun&, const BaseRun&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::BaseRun> {
    using T = ort::BaseRun;
    static constexpr std::string_view name = "BaseRun";
    static constexpr auto unknown_keys = UnknownKeys::skip;
    static constexpr auto fields = std::tuple{
        required("start_time", &T::start_time),
        required("end_time", &T::end_time),
        required("environment", &T::environment),
    };
};
