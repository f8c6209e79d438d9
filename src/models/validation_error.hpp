// The error of a check that the model makes on values it has read.
#pragma once

#include <string>

namespace brindle::models {

struct ValidationError {
    enum class Kind { invalid_field, missing_field, out_of_range, generic };
    Kind kind = Kind::generic;
    std::string field;
    std::string message;

    static ValidationError invalid_field(std::string field, std::string message) {
        return {Kind::invalid_field, std::move(field), std::move(message)};
    }

    std::string text() const {
        switch (kind) {
            case Kind::invalid_field: return "Field '" + field + "' is invalid: " + message;
            case Kind::missing_field: return "Missing required field: " + field;
            case Kind::out_of_range: return "Value out of range for field '" + field + "': " + message;
            case Kind::generic: break;
        }
        return "Generic validation error: " + message;
    }
};

}  // namespace brindle::models
