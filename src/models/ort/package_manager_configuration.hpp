#pragma once

#include <optional>
#include <string>
#include <vector>

#include "models/model.hpp"
#include "models/scalar_text.hpp"

namespace brindle::models::ort {

// The configuration of one package manager: which managers it runs after,
// and its options, each held as the text of its scalar.
struct PackageManagerConfiguration {
    std::optional<std::vector<std::string>> must_run_after;
    std::optional<OrderedMap<std::string, ScalarText>> options;

    friend bool operator==(const PackageManagerConfiguration&, const PackageManagerConfiguration&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::PackageManagerConfiguration> {
    using T = ort::PackageManagerConfiguration;
    static constexpr std::string_view name = "PackageManagerConfiguration";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        optional("must_run_after", &T::must_run_after),
        optional("options", &T::options),
    };
};
