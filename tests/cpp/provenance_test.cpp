// Provenance: tried as a repository, an artifact, then null; its key.
#include "models/json_writer.hpp"
#include "models/ort/provenance.hpp"
#include "models/write.hpp"
#include "models/yaml_writer.hpp"
#include "test_util.hpp"

using namespace brindle::models;
using namespace brindle::models::ort;
using brindle::test::read_error;
using brindle::test::read_ok;

namespace {

struct Scan {
    std::string name;
    Provenance provenance;
    std::optional<Provenance> package_provenance;
};

}  // namespace

template <>
struct brindle::models::Model<Scan> {
    static constexpr std::string_view name = "Scan";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        defaulted("name", &Scan::name),
        required("provenance", &Scan::provenance),
        optional("package_provenance", &Scan::package_provenance),
    };
};

namespace {

const char* no_variant = "data did not match any variant of untagged enum Provenance";

TEST(Provenance, Kinds) {
    struct Case {
        const char* value;
        int kind;  // 0 repository, 1 artifact, 2 unknown, -1 error
    };
    const Case cases[] = {
        {"", 2},
        {"~", 2},
        {"null", 2},
        {"!!null Null", 2},
        {"{vcs_info: {revision: r}, resolved_revision: abc}", 0},
        {"{vcs_info: {revision: r}, resolved_revision: abc, source_artifact: {url: u}}", 0},
        {"{vcs_info: {url: x}, resolved_revision: abc, source_artifact: {url: u}}", 1},
        {"{source_artifact: {url: u, hash: {value: v, algorithm: sha1}}, other: [1]}", 1},
        {"[{revision: r}, abc]", 0},
        {"[[git, u, r], abc]", 0},
        {"[{url: u}]", 1},
        {"[[]]", 1},
        {"{vcs_info: {revision: r}, resolved_revision: 12}", -1},
        {"{vcs_info: {revision: r}, resolved_revision: '12'}", 0},
        {"''", -1},
        {"{}", -1},
        {"[a, b, c]", -1},
        {"5", -1},
    };
    for (const auto& c : cases) {
        Scan s;
        std::string text = std::string("provenance: ") + c.value + "\n";
        std::string err = read_error<Scan>(text, &s);
        if (c.kind < 0) {
            EXPECT_EQ(err, no_variant) << c.value;
        } else {
            EXPECT_EQ(err, "") << c.value;
            EXPECT_EQ(static_cast<int>(s.provenance.index()), c.kind) << c.value;
        }
    }
    auto s = read_ok<Scan>("provenance: {source_artifact: {url: u, hash: [v, SHA-256]}}\n");
    EXPECT_EQ(std::get<ArtifactProvenance>(s.provenance).source_artifact.hash->algorithm.name, "SHA256");
    auto r = read_ok<Scan>("provenance: {vcs_info: {type: GIT, url: u, revision: r, path: p}, resolved_revision: x}\n");
    EXPECT_EQ(std::get<RepositoryProvenance>(r.provenance).vcs_info.type.text, "GIT");
}

TEST(Provenance, ErrorsAndPlaces) {
    EXPECT_EQ(read_error<Scan>("name: n\nprovenance: {a: !thing x}\n"),
              "provenance.a: untagged and internally tagged enums do not support enum input at line 2 column 17");
    EXPECT_EQ(read_error<std::vector<Scan>>("- name: a\n  provenance: ~\n- name: b\n  provenance: {}\n"),
              ".[1]: " + std::string(no_variant) + " at line 3 column 3");
    EXPECT_EQ(read_error<Scan>("name: n\n"), "missing field `provenance`");
    // A null optional provenance is absent, never the unknown provenance.
    auto s = read_ok<Scan>("provenance:\npackage_provenance: ~\n");
    EXPECT_FALSE(s.package_provenance.has_value());
    EXPECT_TRUE(read_ok<Scan>("provenance:\npackage_provenance: [[git, u, r], x]\n").package_provenance->is_repository());
}

// A provenance equals another of its kind with an equal record, every field
// compared; the provenance key (which tells file lists apart) compares the
// kind and the url and resolved revision, or the url alone.
TEST(Provenance, EqualityAndKey) {
    auto p = [](const char* value) { return read_ok<Scan>(std::string("provenance: ") + value + "\n").provenance; };
    struct Pair {
        const char* a;
        const char* b;
        bool same_key;
        bool equal;
    };
    const Pair pairs[] = {
        {"[{url: u, revision: r1, path: a}, x]", "[{url: u, revision: r2, path: b, type: git}, x]", true, false},
        {"[{url: u, revision: r, path: a}, x]", "[{url: u, revision: r, path: b}, x]", true, false},
        {"[{url: u, revision: r, path: a}, x]", "{vcs_info: {url: u, revision: r, path: a}, resolved_revision: x}",
         true, true},
        {"[{url: u, revision: r}, x]", "[{url: u, revision: r}, y]", false, false},
        {"[{url: u, revision: r}, x]", "[{url: v, revision: r}, x]", false, false},
        {"[{url: u, hash: [a, MD5]}]", "[{url: u}]", true, false},
        {"[{url: u, hash: [a, MD5]}]", "[{url: u, hash: [b, MD5]}]", true, false},
        {"[{url: u, hash: [a, MD5]}]", "{source_artifact: {url: u, hash: {value: a, algorithm: MD5}}}", true, true},
        {"[{url: u}]", "[{url: w}]", false, false},
        {"~", "", true, true},
        {"~", "[{url: ''}]", false, false},
        {"[{url: u}]", "[{url: u, revision: r}, x]", false, false},
    };
    for (const auto& c : pairs) {
        Provenance a = p(c.a), b = p(c.b);
        EXPECT_EQ(same_provenance_key(a, b), c.same_key) << c.a << " / " << c.b;
        EXPECT_EQ(a == b, c.equal) << c.a << " / " << c.b;
        // Each hash covers what its equality compares.
        if (c.same_key) EXPECT_EQ(hash_provenance_key(a), hash_provenance_key(b)) << c.a << " / " << c.b;
        else EXPECT_NE(hash_provenance_key(a), hash_provenance_key(b)) << c.a << " / " << c.b;
        if (c.equal) EXPECT_EQ(hash_value(a), hash_value(b)) << c.a << " / " << c.b;
        else EXPECT_NE(hash_value(a), hash_value(b)) << c.a << " / " << c.b;
    }
    OrderedSet<Provenance> set;
    for (const char* v : {"[{url: u, revision: r1}, x]", "[{url: u, revision: r2}, x]", "~", "", "[{url: u}]"})
        set.insert(p(v));
    EXPECT_EQ(set.size(), 4u);
}

TEST(Provenance, Written) {
    auto s = read_ok<Scan>(
        "provenance: [{type: Git, url: u, revision: r}, abc]\npackage_provenance: {source_artifact: {url: a}}\n");
    JsonWriter j;
    write(j, s);
    EXPECT_EQ(j.take(),
              "{\n  \"name\": \"\",\n  \"provenance\": {\n    \"vcs_info\": {\n      \"type\": \"Git\",\n"
              "      \"url\": \"u\",\n      \"revision\": \"r\",\n      \"path\": \"\"\n    },\n"
              "    \"resolved_revision\": \"abc\"\n  },\n  \"package_provenance\": {\n    \"source_artifact\": {\n"
              "      \"url\": \"a\",\n      \"hash\": null\n    }\n  }\n}");
    auto u = read_ok<Scan>("provenance:\n");
    YamlWriter y;
    write(y, u);
    EXPECT_EQ(y.take(), "name: ''\nprovenance: null\npackage_provenance: null\n");
}

}  // namespace
