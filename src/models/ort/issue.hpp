#pragma once

#include <optional>
#include <string>

#include "models/model.hpp"
#include "models/ort/severity.hpp"

namespace brindle::models::ort {

// A problem report; the timestamp is kept as the text given.
struct Issue {
    std::string timestamp;
    std::string source;
    std::string message;
    Severity severity = Severity::HINT;
    std::optional<std::string> affected_path;

    friend bool operator==(const Issue&, const Issue&) = default;
};

}  // namespace brindle::models::ort

template <>
struct brindle::models::Model<brindle::models::ort::Issue> {
    using T = ort::Issue;
    static constexpr std::string_view name = "Issue";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("timestamp", &T::timestamp),
        required("source", &T::source),
        required("message", &T::message),
        required("severity", &T::severity),
        optional("affected_path", &T::affected_path),
    };
};
