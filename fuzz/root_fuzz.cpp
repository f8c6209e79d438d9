// Any input read as one root type: read, checked, written as JSON and YAML,
// and both texts read back.  A ReadError from the input is a normal outcome;
// a text of ours that does not read back to a model written the same way is a
// fault, and so is anything else that is not a ReadError.  The exceptions:
// JSON writes a number that is not finite as null, which reads back as no
// number (or fails where one is required), and libyaml reads a key of a flow
// mapping of at most 1024 characters, so the JSON of a model that holds such
// a number or a longer key is not read back.
//
// The root is chosen at build time (fuzz/CMakeLists.txt): BRINDLE_ROOT_HEADER,
// BRINDLE_ROOT_TYPE and, for roots with a consistency check, BRINDLE_ROOT_CHECK.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

#include "models/json_writer.hpp"
#include "models/model.hpp"
#include "models/write.hpp"
#include "models/yaml_writer.hpp"
#include BRINDLE_ROOT_HEADER

using namespace brindle::models;
using Root = BRINDLE_ROOT_TYPE;

namespace {

[[noreturn]] void fail(const char* what, const std::string& text, const std::string& detail) {
    std::fprintf(stderr, "round trip: %s\n--- written ---\n%s\n--- %s\n", what, text.c_str(), detail.c_str());
    std::abort();
}

// Whether a line of the JSON text starts with a key longer than libyaml
// reads (with a margin).
bool long_key(const std::string& json) {
    for (std::size_t line = 0; line < json.size();) {
        std::size_t end = std::min(json.find('\n', line), json.size());
        std::size_t at = json.find_first_not_of(' ', line);
        if (at < end && json[at] == '"') {
            std::size_t i = at + 1;
            while (i < end && json[i] != '"') i += json[i] == '\\' ? 2 : 1;
            std::size_t characters = 0;
            for (std::size_t j = at; j < i; ++j) characters += (static_cast<unsigned char>(json[j]) & 0xC0) != 0x80;
            if (i + 1 < end && json[i + 1] == ':' && characters > 1000) return true;
        }
        line = end + 1;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    Root value;
    try {
        value = read_document<Root>(text);
    } catch (const ReadError&) {
        return 0;
    }
#ifdef BRINDLE_ROOT_CHECK
    (void)BRINDLE_ROOT_CHECK(value);
#endif
    JsonWriter json;
    write(json, value);
    const bool non_finite = json.wrote_non_finite();
    const std::string json_text = json.take();
    YamlWriter yaml_writer;
    write(yaml_writer, value);
    std::string yaml = yaml_writer.take();
    Root back;
    try {
        back = read_document<Root>(yaml);
    } catch (const ReadError& e) {
        fail("the YAML written does not read back", yaml, e.text());
    }
    // Compared through their YAML text: a NaN held in a float field is then
    // the same on both sides, as it is not under ==.
    YamlWriter again;
    write(again, back);
    std::string yaml_back = again.take();
    if (yaml_back != yaml) fail("the YAML written reads back to another value", yaml, yaml_back);
    if (non_finite || long_key(json_text)) return 0;
    Root from_json;
    try {
        from_json = read_document<Root>(json_text);
    } catch (const ReadError& e) {
        fail("the JSON written does not read back", json_text, e.text());
    }
    JsonWriter json_again;
    write(json_again, from_json);
    std::string json_back = json_again.take();
    if (json_back != json_text) fail("the JSON written reads back to another value", json_text, json_back);
    return 0;
}
