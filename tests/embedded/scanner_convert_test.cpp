// The scanner run as Python values: typed objects down to the findings and
// file entries, provenances as their kinds or None, identifiers as str.
#define PY_SSIZE_T_CLEAN
#include <Python.h>
#include <gtest/gtest.h>

#include <string>

#include "models/ort/scanner_run.hpp"
#include "embedded_util.hpp"

using namespace brindle::models;
using namespace brindle::models::ort;
using brindle::test::converted;
using brindle::test::python_repr;

namespace {

TEST(ScannerConverter, ScannerRun) {
    std::string text =
        "start_time: s\nend_time: e\nenvironment: [v, j, '17', o, 1, 2]\nconfig: {}\n"
        "provenances:\n- {id: 'NPM::a:1', package_provenance: {source_artifact: {url: u}}}\n"
        "scan_results:\n- provenance: ~\n  scanner: {name: n, version: 1.2, configuration: c}\n"
        "  summary:\n    start_time: s\n    end_time: e\n"
        "    licenses: [{license: MIT, location: {path: p, start_line: 1, end_line: 2}, score: .inf}]\n"
        "    snippets:\n    - source_location: {path: p, start_line: 1, end_line: 2}\n"
        "      snippets: [{score: 1, location: {path: q, start_line: 3, end_line: 4}, provenance: ~, purl: x, "
        "license: l, additional_data: {k: v}}]\n"
        "scanners: {'NPM::a:1': [n]}\n"
        "files: [{provenance: {vcs_info: {revision: r}, resolved_revision: r}, files: [{path: a, sha1: '1'}]}]\n";
    EXPECT_EQ(converted<ScannerRun>(text),
              "ScannerRun(start_time='s', end_time='e', environment=Environment(ort_version='v', build_jdk='j', "
              "java_version='17', os='o', processors=1, max_memory=2, variables={}), "
              "config=ScannerConfiguration(skip_concluded=False, skip_excluded=False, "
              "include_files_without_findings=False, archive=None, detected_license_mapping={}, "
              "file_list_storage=None, scanners=None, storages=None, storage_readers=None, storage_writers=None, "
              "ignore_patterns=[], provenance_storage=None), "
              "provenances=[ProvenanceResolutionResult(id='NPM::a:1', "
              "package_provenance=ArtifactProvenance(source_artifact=RemoteArtifact(url='u', hash=None)), "
              "sub_repositories={}, package_provenance_resolution_issue=None, "
              "nested_provenance_resolution_issue=None)], "
              "scan_results=[ScanResult(provenance=None, scanner=ScannerDetails(name='n', version='1.2', "
              "configuration='c'), summary=ScanSummary(start_time='s', end_time='e', "
              "licenses=[LicenseFinding(license='MIT', location=TextLocation(path='p', start_line=1, end_line=2), "
              "score=inf)], copyrights=[], snippets=[SnippetFinding(source_location=TextLocation(path='p', "
              "start_line=1, end_line=2), snippets=[Snippet(score=1.0, location=TextLocation(path='q', "
              "start_line=3, end_line=4), provenance=None, purl='x', license='l', additional_data={'k': 'v'})])], "
              "issues=[]), additional_data={})], issues={}, scanners={'NPM::a:1': ['n']}, "
              "files=[FileList(provenance=RepositoryProvenance(vcs_info=VcsInfo(type='', url='', revision='r', "
              "path=''), resolved_revision='r'), files=[FileListEntry(path='a', sha1='1')])])");
}

}  // namespace
