#include "models/ort/vcs_type.hpp"

#include <array>
#include <string_view>

namespace brindle::models::ort {

namespace {

constexpr std::array<std::string_view, 10> names = {
    "Git", "GitHub", "GitLab", "GitRepo", "git-repo", "repo", "Mercurial", "hg", "Subversion", "svn",
};

char lower(char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; }

bool same_ignoring_ascii_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

}  // namespace

VcsType match_vcs_type(std::string text) {
    for (std::string_view name : names)
        if (same_ignoring_ascii_case(text, name)) return VcsType{std::move(text)};
    return VcsType{};
}

void read(Cursor& c, VcsType& out) {
    std::string text;
    read(c, text);
    out = match_vcs_type(std::move(text));
}

}  // namespace brindle::models::ort
