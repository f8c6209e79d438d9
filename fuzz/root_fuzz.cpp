// Any input read as one root type: read, checked, written as JSON and YAML,
// and the YAML written read back.  A ReadError from the input is a normal
// outcome; a YAML text of ours that does not read back to a model written the
// same way is a fault, and so is anything else that is not a ReadError.
//
// The root is chosen at build time (fuzz/CMakeLists.txt): BRINDLE_ROOT_HEADER,
// BRINDLE_ROOT_TYPE and, for roots with a consistency check, BRINDLE_ROOT_CHECK.
#include <cstddef>
#include <cstdint>
#include <cstdio>
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

[[noreturn]] void fail(const char* what, const std::string& yaml, const std::string& detail) {
    std::fprintf(stderr, "round trip: %s\n--- YAML written ---\n%s\n--- %s\n", what, yaml.c_str(), detail.c_str());
    std::abort();
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
    (void)json.take();
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
    return 0;
}
