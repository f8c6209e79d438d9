#pragma once

#include <optional>
#include <string>

#include "models/model.hpp"
#include "models/ort/advisor_capability.hpp"

namespace brindle::models::ort {

// Which advisor produced a result; no capabilities and an empty set differ.
struct AdvisorDetails {
    std::string name;
    std::optional<OrderedSet<AdvisorCapability>> capabilities;

    friend bool operator==(const AdvisorDetails&, const AdvisorDetails&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::AdvisorDetails> {
    using T = ort::AdvisorDetails;
    static constexpr std::string_view name = "AdvisorDetails";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("name", &T::name),
        optional("capabilities", &T::capabilities),
    };
};
