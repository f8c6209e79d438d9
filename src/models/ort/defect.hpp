#pragma once

#include <optional>
#include <string>

#include "models/model.hpp"

namespace brindle::models::ort {

// A defect an advisor reported for a package.  State, severity and the
// times are free text, kept as written.
struct Defect {
    std::string id;
    std::string url;
    std::optional<std::string> title;
    std::optional<std::string> state;
    std::optional<std::string> severity;
    std::optional<std::string> description;
    std::optional<std::string> creation_time;
    std::optional<std::string> modification_time;
    std::optional<std::string> closing_time;
    std::optional<std::string> fix_release_version;
    std::optional<std::string> fix_release_url;
    OrderedMap<std::string, std::string> labels;

    friend bool operator==(const Defect&, const Defect&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::Defect> {
    using T = ort::Defect;
    static constexpr std::string_view name = "Defect";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("id", &T::id),
        required("url", &T::url),
        optional("title", &T::title),
        optional("state", &T::state),
        optional("severity", &T::severity),
        optional("description", &T::description),
        optional("creation_time", &T::creation_time),
        optional("modification_time", &T::modification_time),
        optional("closing_time", &T::closing_time),
        optional("fix_release_version", &T::fix_release_version),
        optional("fix_release_url", &T::fix_release_url),
        defaulted("labels", &T::labels),
    };
};
