// from_yaml_file in the build with the least document window
// (BRINDLE_SMALL_DOCUMENT_WINDOW): the pages of the file behind the reader are
// given back as it reads, even from a short file, and a page given back
// faults when it is read, so that a text kept past its window cannot pass for
// one that is still there.
#define PY_SSIZE_T_CLEAN
#include <Python.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "embedded_util.hpp"
#include "python/file_text.hpp"

namespace {

#ifdef BRINDLE_SMALL_DOCUMENT_WINDOW
using brindle::python::FileText;

// A file of its own, removed at the end.
class TempFile {
public:
    explicit TempFile(const std::string& content) {
        char name[] = "/tmp/brindle-window-XXXXXX";
        int fd = ::mkstemp(name);
        if (fd < 0) return;
        path_ = name;
        std::size_t done = 0;
        while (done < content.size()) {
            ssize_t n = ::write(fd, content.data() + done, content.size() - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        ::close(fd);
        written_ = done == content.size();
    }
    ~TempFile() {
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& path() const { return path_; }
    bool written() const { return written_; }

private:
    std::string path_;
    bool written_ = false;
};

std::size_t page() { return static_cast<std::size_t>(::sysconf(_SC_PAGESIZE)); }
#else
constexpr const char* skip_reason = "runs in the build with BRINDLE_SMALL_DOCUMENT_WINDOW on (scripts/sanitize)";
#endif

TEST(LeastWindow, FromYamlFileGivesPagesBack) {
#ifndef BRINDLE_SMALL_DOCUMENT_WINDOW
    GTEST_SKIP() << skip_reason;
#else
    // A text pages long, in which escapes of a character above U+FFFF are
    // text: the input they stand in is kept until the text is read, and one
    // where they are that character.
    std::string pairs;
    for (int i = 0; i < 600; ++i) pairs += " \\uD83D\\uDE00 x";
    std::string yaml = "categories:\n- name: plain\n  description:" + pairs + "\n- name: \"quoted\"\n  description: \"" +
                       pairs + "\"\n";
    // Characters that libyaml must place, pages after the start of the
    // scalar they are in: a double-quoted one, and a plain one that holds a
    // `"`, where NEL is a line break.
    const std::string long_text(3 * page(), 'y');
    yaml += "- name: late\n  description: \"" + long_text + "\xC2\x85\xE2\x80\xA8\"\n";
    yaml += "- name: plain quote\n  description: x\"" + long_text + "\xC2\x85    z\n";
    for (int i = 0; i < 200; ++i)
        yaml += "- name: \"category-" + std::to_string(i) + "\"\n  description: \"Category number " + std::to_string(i) +
                " of a file of a few pages.\"\n";
    ASSERT_GT(yaml.size(), 3 * page());
    TempFile file(yaml);
    ASSERT_TRUE(file.written());
    const std::size_t before = FileText::released_page_count();
    // Read from the file as from the text, whole.
    std::string source = std::string("import sys\nsys.path.insert(0, '") + BRINDLE_PYTHON_PACKAGE + "')\nPATH = '" +
                         file.path() + R"py('
from brindle import ort
with open(PATH, encoding="utf-8") as f:
    text = f.read()
read = ort.LicenseClassifications.from_yaml_file(PATH)
assert read.to_json() == ort.LicenseClassifications.from_yaml_str(text).to_json()
assert len(read.categories) == 204 and read.categories[203].name == "category-199"
assert read.categories[0].description == (" \\uD83D\\uDE00 x" * 600).strip()
assert read.categories[1].description == " \U0001F600 x" * 600
LONG = "y" * )py" + std::to_string(long_text.size()) + R"py(
assert read.categories[2].description == LONG + "\x85\u2028"
assert read.categories[3].description == 'x"' + LONG + " z"
)py";
    ASSERT_EQ(PyRun_SimpleString(source.c_str()), 0);
    // Every whole page that libyaml has taken in is given back.
    EXPECT_GE(FileText::released_page_count() - before, yaml.size() / page() - 1);
#endif
}

TEST(LeastWindowDeathTest, APageGivenBackFaultsWhenRead) {
#ifndef BRINDLE_SMALL_DOCUMENT_WINDOW
    GTEST_SKIP() << skip_reason;
#else
    TempFile file(std::string(3 * page(), 'x'));
    ASSERT_TRUE(file.written());
    FileText text(file.path());
    ASSERT_EQ(text.text().size(), 3 * page());
    const std::size_t before = FileText::released_page_count();
    FileText::release_before(&text, text.text().data() + 2 * page() + 10);
    EXPECT_EQ(FileText::released_page_count() - before, 2u);
    EXPECT_EQ(text.text()[2 * page()], 'x');
    const volatile char* given_back = text.text().data() + page();
    EXPECT_DEATH(static_cast<void>(std::putchar(*given_back)), "");
#endif
}

}  // namespace
