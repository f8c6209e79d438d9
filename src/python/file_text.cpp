#include "python/file_text.hpp"

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

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

class File {
public:
    explicit File(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        if (fd_ < 0) throw_os_error(errno);
    }
    ~File() { ::close(fd_); }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    int fd() const noexcept { return fd_; }

private:
    int fd_;
};

}  // namespace

bool is_valid_utf8(std::string_view s) noexcept {
    auto p = reinterpret_cast<const unsigned char*>(s.data());
    const unsigned char* end = p + s.size();
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
            return false;
        }
        if (static_cast<std::size_t>(end - p) < len) return false;
        if (p[1] < lo || p[1] > hi) return false;
        for (std::size_t i = 2; i < len; ++i)
            if ((p[i] & 0xc0) != 0x80) return false;
        p += len;
    }
    return true;
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
    for (;;) {
        if (size_ == pages_.size) pages_.grow(2 * pages_.size);
        ssize_t n = ::read(file.fd(), pages_.data + size_, pages_.size - size_);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw_os_error(errno);
        }
        if (n == 0) break;
        size_ += static_cast<std::size_t>(n);
    }
    if (!is_valid_utf8(text())) throw_error(PyExc_OSError, "stream did not contain valid UTF-8");
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
