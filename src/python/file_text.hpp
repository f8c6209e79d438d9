// Reading a whole file as UTF-8 text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace brindle::python {

// The whole content of a file, in pages of memory of its own: a reader that
// is done with the start of the text can give those pages back, so that a
// large file and the model read from it need not be held whole at once.
class FileText {
public:
    // Reads the file `path`.  Fails with OSError: the system's message and
    // " (os error N)" as the subclass the interpreter picks for N
    // (FileNotFoundError ...), or plain OSError "stream did not contain valid
    // UTF-8" or "out of memory"; a path holding a NUL character fails with
    // ValueError "embedded null byte" instead of naming a shorter path.
    // Bytes that are not UTF-8 fail as soon as they are read.  Other threads
    // run while the open or a read waits (a FIFO); a signal meanwhile runs its
    // handler, and a handler that raises ends the read with its exception.
    explicit FileText(std::string_view path);
    ~FileText();
    FileText(const FileText&) = delete;
    FileText& operator=(const FileText&) = delete;

    std::string_view text() const noexcept { return {pages_.data, size_}; }

    // Gives back the whole pages before `up_to`, which is in the text; what
    // they held must not be read again.  For models::InputRelease.  In the
    // build with the smallest document window the pages given back are made
    // unreadable too, so that a read of them faults at once.
    static void release_before(void* file_text, const char* up_to) noexcept;

#ifdef BRINDLE_SMALL_DOCUMENT_WINDOW
    // Pages given back so far by every FileText of the process, for the
    // tests to see that they are.
    static std::size_t released_page_count() noexcept;
#endif

private:
    // An anonymous mapping, unmapped when dropped.
    struct Pages {
        char* data = nullptr;
        std::size_t size = 0;

        Pages() = default;
        Pages(const Pages&) = delete;
        Pages& operator=(const Pages&) = delete;
        ~Pages();
        // At least `bytes` long, the content kept.
        void grow(std::size_t bytes);
    };

    Pages pages_;
    std::size_t size_ = 0;      // bytes of text
    std::size_t released_ = 0;  // bytes from the start given back
};

// How much of a run of bytes is well-formed UTF-8.
struct Utf8Prefix {
    std::size_t whole;  // leading bytes that are whole, valid characters
    bool bad;           // the bytes after them start no valid character
};

// Scans `s` once.  Unless `bad`, the bytes after `whole` (at most 3) are the
// start of a character that the bytes to come may complete, so a text that
// arrives in pieces is checked by scanning each piece after those bytes.
Utf8Prefix utf8_whole_prefix(std::string_view s) noexcept;

}  // namespace brindle::python
