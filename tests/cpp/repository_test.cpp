// The reviewed repository of a result.
#include "models/json_writer.hpp"
#include "models/ort/repository.hpp"
#include "models/write.hpp"
#include "test_util.hpp"

using namespace brindle::models;
using brindle::models::ort::Repository;
using brindle::models::ort::RepositoryConfiguration;
using brindle::test::read_error;
using brindle::test::read_ok;

namespace {

using Holder = OrderedMap<std::string, Repository>;

TEST(Repository, Reading) {
    struct Case {
        const char* input;
        const char* error;
    };
    const Case cases[] = {
        {"repository:\n  vcs: {revision: r}\n  vcs_processed: {revision: r}\n  config:\n", ""},
        {"repository:\n  vcs: {revision: r}\n  vsc_processed: {revision: r}\n",
         "repository: unknown field `vsc_processed`, expected one of `vcs`, `vcs_processed`, `nested_repositories`, "
         "`config` at line 3 column 3"},
        {"repository:\n  vcs: {revision: r}\n", "repository: missing field `vcs_processed` at line 2 column 3"},
        {"repository:\n", "repository: missing field `vcs` at line 1 column 12"},
        {"repository:\n  vcs: {revision: r}\n  vcs_processed: {revision: r}\n  config: ~\n",
         "repository.config: invalid type: unit value, expected struct RepositoryConfiguration at line 4 column 11"},
        {"repository:\n  vcs: {revision: r}\n  vcs_processed: {revision: r}\n",
         "repository: missing field `config` at line 2 column 3"},
        {"repository:\n  vcs: {revision: r}\n  vcs_processed: {revision: r}\n  config: {excludes: x}\n",
         "repository.config.excludes: invalid type: string \"x\", expected struct Excludes at line 4 column 22"},
    };
    for (const auto& k : cases) EXPECT_EQ(read_error<Holder>(k.input), k.error) << k.input;

    auto held = read_ok<Holder>(
        "repository:\n  vcs: {type: Git, url: u, revision: r}\n  vcs_processed: {revision: r}\n"
        "  nested_repositories: {sub/dir: {revision: a}, sub/dir: {revision: b}}\n  config: {}\n");
    const Repository& r = *held.find("repository");
    EXPECT_EQ(r.nested_repositories.find("sub/dir")->revision, "b");
    // The same text as a file and as the config of a repository reads the same.
    const char* config = "excludes:\n  paths:\n  - pattern: '**/test/**'\n    reason: TEST_OF\n";
    auto as_file = read_ok<RepositoryConfiguration>(config);
    auto as_field = read_ok<Holder>(std::string("repository:\n  vcs: {revision: r}\n  vcs_processed: {revision: r}\n"
                                                "  config:\n    excludes:\n      paths:\n      - pattern: '**/test/**'\n"
                                                "        reason: TEST_OF\n"));
    EXPECT_TRUE(as_field.find("repository")->config == as_file);
    JsonWriter w;
    write(w, r);
    std::string json = w.take();
    EXPECT_LT(json.find("\"vcs\""), json.find("\"vcs_processed\""));
    EXPECT_LT(json.find("\"nested_repositories\""), json.find("\"config\""));
}

}  // namespace
