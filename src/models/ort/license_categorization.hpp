#pragma once

#include <string>

#include "models/model.hpp"

namespace brindle::models::ort {

struct LicenseCategorization {
    std::string id;
    OrderedSet<std::string> categories;

    friend bool operator==(const LicenseCategorization&, const LicenseCategorization&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::LicenseCategorization> {
    using T = ort::LicenseCategorization;
    static constexpr std::string_view name = "LicenseCategorization";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("id", &T::id),
        defaulted("categories", &T::categories),
    };
};
