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

[[noreturn]] void fail(const char* kind, const char* what, const std::string& text, const std::string& detail) {
    std::fprintf(stderr, "round trip: the %s written %s\n--- written ---\n%s\n--- %s\n", kind, what, text.c_str(),
                 detail.c_str());
    std::abort();
}

// Reads `text`, which a Writer wrote, and writes it again: the same text.
// Compared through their text: a NaN held in a float field is then the same
// on both sides, as it is not under ==.
template <class Writer>
void check_reads_back(const char* kind, const std::string& text) {
    Root back;
    try {
        back = read_document<Root>(text);
    } catch (const ReadError& e) {
        fail(kind, "does not read back", text, e.text());
    }
    Writer again;
    write(again, back);
    std::string text_back = again.take();
    if (text_back != text) fail(kind, "reads back to another value", text, text_back);
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
    YamlWriter yaml;
    write(yaml, value);
    check_reads_back<YamlWriter>("YAML", yaml.take());
    if (!non_finite && !long_key(json_text)) check_reads_back<JsonWriter>("JSON", json_text);
    return 0;
}
