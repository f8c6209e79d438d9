#pragma once

#include <optional>
#include <string>

#include "models/collections.hpp"
#include "models/model.hpp"

namespace brindle::models::ort {

// The processed form of declared licenses: the license expression, the
// declared licenses that were mapped and those that were not.
struct ProcessedDeclaredLicense {
    std::optional<std::string> spdx_expression;
    OrderedMap<std::string, std::string> mapped;
    OrderedSet<std::string> unmapped;

    friend bool operator==(const ProcessedDeclaredLicense&, const ProcessedDeclaredLicense&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::ProcessedDeclaredLicense> {
    using T = ort::ProcessedDeclaredLicense;
    static constexpr std::string_view name = "ProcessedDeclaredLicense";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        optional("spdx_expression", &T::spdx_expression),
        defaulted("mapped", &T::mapped),
        defaulted("unmapped", &T::unmapped),
    };
};
