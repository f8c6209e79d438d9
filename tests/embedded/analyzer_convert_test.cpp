// The analyzer run as Python values: a typed object with the base part's
// fields first, packages as typed objects, issues as a plain dict.
#define PY_SSIZE_T_CLEAN
#include <Python.h>
#include <gtest/gtest.h>

#include <string>

#include "models/ort/analyzer_run.hpp"
#include "embedded_util.hpp"

using namespace brindle::models;
using namespace brindle::models::ort;
using brindle::test::converted;
using brindle::test::python_repr;

namespace {

TEST(AnalyzerConverter, Run) {
    EXPECT_EQ(converted<AnalyzerRun>("config: {enabled_package_managers: [NPM], package_managers: {NPM: {options: {a: 1}}}}\n"
                        "end_time: e\nstart_time: s\nenvironment: [v, j, '17', o, 1, 2]\n"
                        "result:\n"
                        "  projects: []\n"
                        "  packages:\n"
                        "  - {id: 'NPM::a:1', purl: p, declared_licenses: [MIT], declared_licenses_processed: "
                        "{spdx_expression: MIT, mapped: {x: y}}, description: d, homepage_url: h, binary_artifact: {}, "
                        "source_artifact: {url: u}, vcs: {revision: r}, vcs_processed: {revision: r}, "
                        "source_code_origins: [2], labels: {k: v}}\n"
                        "  issues: {'NPM::a:1': [{timestamp: t, source: s, message: m, severity: ERROR}]}\n"),
              "AnalyzerRun(start_time='s', end_time='e', environment=Environment(ort_version='v', build_jdk='j', "
              "java_version='17', os='o', processors=1, max_memory=2, variables={}), "
              "config=AnalyzerConfiguration(allow_dynamic_versions=False, enabled_package_managers=['NPM'], "
              "disabled_package_managers=None, package_managers={'NPM': PackageManagerConfiguration("
              "must_run_after=None, options={'a': '1'})}, skip_excluded=False), "
              "result=AnalyzerResult(projects=[], packages=[Package(id='NPM::a:1', purl='p', cpe=None, authors=[], "
              "declared_licenses=['MIT'], declared_licenses_processed=ProcessedDeclaredLicense(spdx_expression='MIT', "
              "mapped={'x': 'y'}, unmapped=[]), concluded_license=None, description='d', homepage_url='h', "
              "binary_artifact=RemoteArtifact(url='', hash=None), source_artifact=RemoteArtifact(url='u', hash=None), "
              "vcs=VcsInfo(type='', url='', revision='r', path=''), vcs_processed=VcsInfo(type='', url='', "
              "revision='r', path=''), is_metadata_only=False, is_modified=False, source_code_origins=['ARTIFACT'], "
              "labels={'k': 'v'})], issues={'NPM::a:1': [Issue(timestamp='t', source='s', message='m', "
              "severity='ERROR', affected_path=None)]}, dependency_graphs={}))");
}

}  // namespace
