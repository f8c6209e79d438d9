#pragma once

#include <string>

#include "models/model.hpp"

namespace brindle::models::ort {

struct LicenseCategory {
    std::string name;
    std::string description;

    friend bool operator==(const LicenseCategory&, const LicenseCategory&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::LicenseCategory> {
    using T = ort::LicenseCategory;
    static constexpr std::string_view name = "LicenseCategory";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("name", &T::name),
        defaulted("description", &T::description),
    };
};
