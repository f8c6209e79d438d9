#pragma once

#include <string>

#include "models/model.hpp"
#include "models/ort/scope_exclude_reason.hpp"

namespace brindle::models::ort {

// A scope name pattern excluded from the repository; held as given, never compiled.
struct ScopeExclude {
    std::string pattern;
    ScopeExcludeReason reason = ScopeExcludeReason{1};
    std::string comment;

    friend bool operator==(const ScopeExclude&, const ScopeExclude&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::ScopeExclude> {
    using T = ort::ScopeExclude;
    static constexpr std::string_view name = "ScopeExclude";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("pattern", &T::pattern),
        required("reason", &T::reason),
        defaulted("comment", &T::comment),
    };
};
