// The converter from model values to Python values, in an embedded
// interpreter: every kind of model value read from YAML, checked through
// the repr of what it became.
#define PY_SSIZE_T_CLEAN
#include <Python.h>
#include <gtest/gtest.h>

#include <string>

#include "models/buffered.hpp"
#include "models/ort/base_run.hpp"
#include "models/ort/identifier.hpp"
#include "models/ort/issue.hpp"
#include "models/ort/provenance.hpp"
#include "models/ort/source_code_origin.hpp"
#include "models/ort/text_location.hpp"
#include "models/ort/vcsmatcher.hpp"
#include "embedded_util.hpp"

using namespace brindle::models;
using namespace brindle::models::ort;
using brindle::test::converted;
using brindle::test::python_repr;

namespace {

// Everything the shared types offer, in one struct, plus a run with its base part.
struct Shared {
    Identifier id;
    OrderedMap<Identifier, std::vector<Issue>> issues;
    VcsInfo vcs;
    std::optional<VcsMatcher> matcher;
    RemoteArtifact artifact;
    TextLocation location;
    std::vector<SourceCodeOrigin> origins;
    Provenance provenance;
    std::optional<Provenance> package_provenance;
    OrderedSet<std::string> names;
    double ratio = 0;
};

struct TestRun {
    BaseRun base;
    std::string config;
};

}  // namespace

template <>
struct brindle::models::Model<Shared> {
    static constexpr std::string_view name = "Shared";
    static constexpr auto unknown_keys = UnknownKeys::reject;
    static constexpr auto fields = std::tuple{
        required("id", &Shared::id),
        defaulted("issues", &Shared::issues),
        required("vcs", &Shared::vcs),
        optional("matcher", &Shared::matcher),
        defaulted("artifact", &Shared::artifact),
        required("location", &Shared::location),
        defaulted("origins", &Shared::origins),
        required("provenance", &Shared::provenance),
        optional("package_provenance", &Shared::package_provenance),
        defaulted("names", &Shared::names),
        defaulted("ratio", &Shared::ratio),
    };
};
template <>
struct brindle::models::Model<TestRun> {
    static constexpr std::string_view name = "AnalyzerRun";
    static constexpr auto unknown_keys = UnknownKeys::base;
    static constexpr auto base = &TestRun::base;
    static constexpr auto fields = std::tuple{required("config", &TestRun::config)};
};

namespace {

TEST(Converter, SharedTypes) {
    EXPECT_EQ(converted<Shared>("id: 'Maven:grp:lib:1.0'\n"
                                "issues: {'NPM::a:1': [{timestamp: t, source: s, message: m, severity: 3}]}\n"
                                "vcs: {type: GIT, url: u, revision: r}\n"
                                "location: {path: p, start_line: -5, end_line: 2147483647}\n"
                                "origins: [ARTIFACT, 1]\n"
                                "provenance: ~\n"
                                "package_provenance: [[git, u, r], abc]\n"
                                "names: [b, a, b]\n"
                                "ratio: .nan\n"),
              "Shared(id='Maven:grp:lib:1.0', "
              "issues={'NPM::a:1': [Issue(timestamp='t', source='s', message='m', severity='ERROR', "
              "affected_path=None)]}, "
              "vcs=VcsInfo(type='GIT', url='u', revision='r', path=''), matcher=None, "
              "artifact=RemoteArtifact(url='', hash=None), "
              "location=TextLocation(path='p', start_line=-5, end_line=2147483647), "
              "origins=['ARTIFACT', 'VCS'], provenance=None, "
              "package_provenance=RepositoryProvenance(vcs_info=VcsInfo(type='git', url='u', revision='r', "
              "path=''), resolved_revision='abc'), names=['b', 'a'], ratio=nan)");
    EXPECT_EQ(converted<Shared>("id: ':::'\nvcs: {revision: r, type: cvs}\nlocation: {path: p, start_line: 1, "
                                "end_line: 1}\nmatcher: {type: Git, url: x}\n"
                                "artifact: {url: a, hash: {value: v, algorithm: sha1}}\n"
                                "provenance: {source_artifact: {url: s}}\nratio: -.inf\n"),
              "Shared(id=':::', issues={}, vcs=VcsInfo(type='', url='', revision='r', path=''), "
              "matcher=VcsMatcher(type='Git', url='x', revision=None), "
              "artifact=RemoteArtifact(url='a', hash=Hash(value='v', algorithm='UNKNOWN')), "
              "location=TextLocation(path='p', start_line=1, end_line=1), origins=[], "
              "provenance=ArtifactProvenance(source_artifact=RemoteArtifact(url='s', hash=None)), "
              "package_provenance=None, names=[], ratio=-inf)");
}

TEST(Converter, RunsCarryTheirBaseFieldsFirst) {
    EXPECT_EQ(converted<TestRun>("config: c\nenvironment: {ort_version: '1', build_jdk: j, java_version: '17', os: o, "
                             "processors: 4294967295, max_memory: 18446744073709551615, variables: {A: b}}\n"
                             "end_time: e\nstart_time: s\n"),
              "AnalyzerRun(start_time='s', end_time='e', environment=Environment(ort_version='1', build_jdk='j', "
              "java_version='17', os='o', processors=4294967295, max_memory=18446744073709551615, "
              "variables={'A': 'b'}), config='c')");
}

}  // namespace
