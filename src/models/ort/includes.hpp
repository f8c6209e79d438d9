#pragma once

#include <vector>

#include "models/model.hpp"
#include "models/ort/path_include.hpp"

namespace brindle::models::ort {

// The includes section of a repository configuration.
struct Includes {
    std::vector<PathInclude> paths;

    friend bool operator==(const Includes&, const Includes&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::Includes> {
    using T = ort::Includes;
    static constexpr std::string_view name = "Includes";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        defaulted("paths", &T::paths),
    };
};
