#include "python/file_text.hpp"

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <new>

#include "python/errors.hpp"

namespace brindle::python {

namespace {

// OSError of the subclass that the interpreter picks for `error`
// (FileNotFoundError, PermissionError ...), found by letting OSError(error, ...)
// choose it, with the system's text and " (os error N)" as its one argument.
[[noreturn]] void throw_os_error(int error) {
    char buf[256];
    std::string text = strerror_r(error, buf, sizeof buf);
    text += " (os error " + std::to_string(error) + ")";
    PyRef sample = checked(PyObject_CallFunction(PyExc_OSError, "is", error, ""));
    throw_error(reinterpret_cast<PyObject*>(Py_TYPE(sample.get())), text);
}

[[noreturn]] void throw_not_utf8() { throw_error(PyExc_OSError, "stream did not contain valid UTF-8"); }

// Makes `call`, a system call that may wait (the open or a read of a FIFO),
// with the interpreter's lock let go, so that other threads run meanwhile.
// When a signal interrupts it, the signal handlers run, as for the
// interpreter's own reads: one that raises ends the call with its exception,
// else the call is made again.  Any other error fails with its OSError.
template <class Call>
auto waiting(Call call) {
    for (;;) {
        decltype(call()) result;
        int error;
        Py_BEGIN_ALLOW_THREADS
        result = call();
        error = errno;
        Py_END_ALLOW_THREADS
        if (result >= 0) return result;
        if (error != EINTR) throw_os_error(error);
        if (PyErr_CheckSignals() < 0) throw PythonError{};
    }
}

int open_waiting(const std::string& path) {
    return waiting([&] { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC); });
}

std::size_t read_waiting(int fd, char* into, std::size_t room) {
    return static_cast<std::size_t>(waiting([&] { return ::read(fd, into, room); }));
}

class File {
public:
    explicit File(const std::string& path) : fd_(open_waiting(path)) {}
    ~File() { ::close(fd_); }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    int fd() const noexcept { return fd_; }

private:
    int fd_;
};

}  // namespace

Utf8Prefix utf8_whole_prefix(std::string_view s) noexcept {
    auto begin = reinterpret_cast<const unsigned char*>(s.data());
    const unsigned char* p = begin;
    const unsigned char* end = p + s.size();
    auto at = [&](bool bad) { return Utf8Prefix{static_cast<std::size_t>(p - begin), bad}; };
    while (p < end) {
        unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        std::size_t len;
        unsigned char lo = 0x80, hi = 0xbf;  // bounds of the second byte
        if (c >= 0xc2 && c <= 0xdf) {
            len = 2;
        } else if (c >= 0xe0 && c <= 0xef) {
            len = 3;
            if (c == 0xe0) lo = 0xa0;        // no overlong forms
            else if (c == 0xed) hi = 0x9f;   // no surrogates
        } else if (c >= 0xf0 && c <= 0xf4) {
            len = 4;
            if (c == 0xf0) lo = 0x90;
            else if (c == 0xf4) hi = 0x8f;   // nothing above U+10FFFF
        } else {
            return at(true);
        }
        // The bytes there are, of a character that may be cut off at the end.
        std::size_t have = std::min(len, static_cast<std::size_t>(end - p));
        if (have > 1 && (p[1] < lo || p[1] > hi)) return at(true);
        for (std::size_t i = 2; i < have; ++i)
            if ((p[i] & 0xc0) != 0x80) return at(true);
        if (have < len) return at(false);
        p += len;
    }
    return at(false);
}

namespace {

std::size_t page_size() {
    static const std::size_t size = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    return size;
}

#ifdef BRINDLE_SMALL_DOCUMENT_WINDOW
std::atomic<std::size_t> released_pages{0};
#endif

}  // namespace

// The text lives in an anonymous mapping: pages given back with
// MADV_DONTNEED are freed at once, and growing moves no bytes (mremap).
void FileText::Pages::grow(std::size_t bytes) {
    bytes = (bytes + page_size() - 1) / page_size() * page_size();
    void* p = data == nullptr ? ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)
                              : ::mremap(data, size, bytes, MREMAP_MAYMOVE);
    if (p == MAP_FAILED) throw_error(PyExc_OSError, "out of memory");
    data = static_cast<char*>(p);
    size = bytes;
}

FileText::Pages::~Pages() {
    if (data != nullptr) ::munmap(data, size);
}

FileText::FileText(std::string_view path) {
    if (path.find('\0') != std::string_view::npos) throw_error(PyExc_ValueError, "embedded null byte");
    File file{std::string(path)};
    // Sized from the file when it can be, with one more byte to see the end
    // without a second read.
    struct stat st {};
    std::size_t expected = 0;
    if (::fstat(file.fd(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
        expected = static_cast<std::size_t>(st.st_size);
    pages_.grow(expected + 1);
    // The bytes before `checked` are whole UTF-8 characters: each read is
    // checked as it arrives, so an endless stream of bad bytes fails at once.
    std::size_t checked = 0;
    for (;;) {
        if (size_ == pages_.size) pages_.grow(2 * pages_.size);
        std::size_t n = read_waiting(file.fd(), pages_.data + size_, pages_.size - size_);
        if (n == 0) break;
        size_ += n;
        // A signal that came while bytes arrived interrupts nothing (the read
        // gives the bytes instead), and the next read may wait long.
        if (PyErr_CheckSignals() < 0) throw PythonError{};
        Utf8Prefix scan = utf8_whole_prefix({pages_.data + checked, size_ - checked});
        if (scan.bad) throw_not_utf8();
        checked += scan.whole;
    }
    if (checked != size_) throw_not_utf8();  // ends within a character
}

FileText::~FileText() = default;

void FileText::release_before(void* file_text, const char* up_to) noexcept {
    auto& f = *static_cast<FileText*>(file_text);
    std::size_t end = static_cast<std::size_t>(up_to - f.pages_.data) / page_size() * page_size();
    if (end <= f.released_) return;
    ::madvise(f.pages_.data + f.released_, end - f.released_, MADV_DONTNEED);
#ifdef BRINDLE_SMALL_DOCUMENT_WINDOW
    ::mprotect(f.pages_.data + f.released_, end - f.released_, PROT_NONE);
    released_pages.fetch_add((end - f.released_) / page_size(), std::memory_order_relaxed);
#endif
    f.released_ = end;
}

#ifdef BRINDLE_SMALL_DOCUMENT_WINDOW
std::size_t FileText::released_page_count() noexcept { return released_pages.load(std::memory_order_relaxed); }
#endif

}  // namespace brindle::python
