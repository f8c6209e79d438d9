// Any input through the document reader: the generic value reader, the
// capture of buffered values and the node skipper.  A ReadError is a normal
// outcome; anything else (a crash, a sanitizer report, a leak, another
// exception, a runaway) is a fault.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "models/buffered.hpp"
#include "models/document.hpp"
#include "models/yaml_value.hpp"

using namespace brindle::models;

namespace {

template <class ReadRoot>
void try_read(std::string_view text, ReadRoot&& read_root) {
    try {
        (void)read_yaml_document(text, read_root);
    } catch (const ReadError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    try_read(text, [](Cursor& c) { return read_yaml_value(c); });
    try_read(text, [](Cursor& c) { return capture(c); });
    try_read(text, [](Cursor& c) {
        c.skip_node();
        return 0;
    });
    return 0;
}
