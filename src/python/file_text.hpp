// Reading a whole file as UTF-8 text.
#pragma once

#include <string>
#include <string_view>

namespace brindle::python {

// The whole content of the file `path`.  Fails with OSError: the system's
// message and " (os error N)" as the subclass the interpreter picks for N
// (FileNotFoundError ...), or plain OSError "stream did not contain valid
// UTF-8" or "out of memory"; a path holding a NUL character fails with
// ValueError "embedded null byte" instead of naming a shorter path.
std::string read_file_text(std::string_view path);

// Whether `s` is well-formed UTF-8.
bool is_valid_utf8(std::string_view s) noexcept;

}  // namespace brindle::python
