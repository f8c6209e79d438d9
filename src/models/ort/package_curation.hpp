#pragma once

#include <string>

#include "models/model.hpp"
#include "models/ort/package_curation_data.hpp"

namespace brindle::models::ort {

// Corrected metadata for the package named by `id`, which is kept as the
// text given (it is not split into an identifier).
struct PackageCuration {
    std::string id;
    PackageCurationData curations;

    friend bool operator==(const PackageCuration&, const PackageCuration&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::PackageCuration> {
    using T = ort::PackageCuration;
    static constexpr std::string_view name = "PackageCuration";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("id", &T::id),
        required("curations", &T::curations),
    };
};
