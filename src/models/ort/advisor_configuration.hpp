#pragma once

#include <optional>
#include <string>

#include "models/json_value.hpp"
#include "models/model.hpp"

namespace brindle::models::ort {

// How the advisor ran: the options of each advisor by name, free-form.  No
// options and an empty map of them differ.
struct AdvisorConfiguration {
    bool skip_excluded = false;
    std::optional<OrderedMap<std::string, JsonValue>> advisors;

    friend bool operator==(const AdvisorConfiguration&, const AdvisorConfiguration&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::AdvisorConfiguration> {
    using T = ort::AdvisorConfiguration;
    static constexpr std::string_view name = "AdvisorConfiguration";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        defaulted("skip_excluded", &T::skip_excluded),
        optional("advisors", &T::advisors),
    };
};
