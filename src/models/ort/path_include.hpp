#pragma once

#include <string>

#include "models/model.hpp"
#include "models/ort/path_include_reason.hpp"

namespace brindle::models::ort {

// A path pattern treated as part of the repository; the pattern is held as given, never compiled.
struct PathInclude {
    std::string pattern;
    PathIncludeReason reason = PathIncludeReason{1};
    std::string comment;

    friend bool operator==(const PathInclude&, const PathInclude&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::PathInclude> {
    using T = ort::PathInclude;
    static constexpr std::string_view name = "PathInclude";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("pattern", &T::pattern),
        required("reason", &T::reason),
        defaulted("comment", &T::comment),
    };
};
