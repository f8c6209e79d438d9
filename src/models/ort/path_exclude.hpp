#pragma once

#include <string>

#include "models/model.hpp"
#include "models/ort/path_exclude_reason.hpp"

namespace brindle::models::ort {

// A path pattern excluded from the repository; the pattern is held as given, never compiled.
struct PathExclude {
    std::string pattern;
    PathExcludeReason reason = PathExcludeReason{1};
    std::string comment;

    friend bool operator==(const PathExclude&, const PathExclude&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::PathExclude> {
    using T = ort::PathExclude;
    static constexpr std::string_view name = "PathExclude";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("pattern", &T::pattern),
        required("reason", &T::reason),
        defaulted("comment", &T::comment),
    };
};
