// Dependency graphs and projects as Python values: typed objects down to the
// references, an absent node package as 0, scopes as a plain dict.
#define PY_SSIZE_T_CLEAN
#include <Python.h>
#include <gtest/gtest.h>

#include <string>

#include "models/ort/dependency_graph.hpp"
#include "models/ort/project.hpp"
#include "embedded_util.hpp"

using namespace brindle::models;
using namespace brindle::models::ort;
using brindle::test::converted;
using brindle::test::python_repr;

namespace {

TEST(DependencyGraphConverter, Graph) {
    EXPECT_EQ(converted<DependencyGraph>("packages: ['Maven:junit:junit:4.12']\n"
                                         "scope_roots:\n"
                                         "- {pkg: 0, issues: [], dependencies: [{pkg: 1, fragment: -1, issues: [], "
                                         "linkage: 2}]}\n"
                                         "scopes: {'a:b': [{root: 0}], c: []}\n"
                                         "nodes: [{}, {pkg: 3, linkage: PROJECT_STATIC}]\n"
                                         "edges: [{from: 1, to: 0}]\n"),
              "DependencyGraph(packages=['Maven:junit:junit:4.12'], "
              "scope_roots=[DependencyReference(pkg=0, fragment=0, dependencies=[DependencyReference(pkg=1, "
              "fragment=-1, dependencies=[], linkage='STATIC', issues=[])], linkage='DYNAMIC', issues=[])], "
              "scopes={'a:b': [RootDependencyIndex(root=0, fragment=0)], 'c': []}, "
              "nodes=[DependencyGraphNode(pkg=0, fragment=0, linkage='DYNAMIC', issues=[]), "
              "DependencyGraphNode(pkg=3, fragment=0, linkage='PROJECT_STATIC', issues=[])], "
              "edges=[DependencyGraphEdge(from=1, to=0)])");
}

TEST(DependencyGraphConverter, Project) {
    EXPECT_EQ(converted<Project>("id: 'NPM::p:1'\ndefinition_file_path: package.json\ndeclared_licenses: [MIT]\n"
                                 "declared_licenses_processed: {spdx_expression: MIT}\n"
                                 "vcs: {revision: r}\nvcs_processed: {revision: r}\nhomepage_url: h\n"
                                 "scopes: [{name: s, dependencies: [{id: 'NPM::a:1', linkage: STATIC}]}]\n"),
              "Project(id='NPM::p:1', cpe=None, definition_file_path='package.json', authors=[], "
              "declared_licenses=['MIT'], declared_licenses_processed=ProcessedDeclaredLicense(spdx_expression='MIT', "
              "mapped={}, unmapped=[]), vcs=VcsInfo(type='', url='', revision='r', path=''), "
              "vcs_processed=VcsInfo(type='', url='', revision='r', path=''), description='', homepage_url='h', "
              "scopes=[Scope(name='s', dependencies=[PackageReference(id='NPM::a:1', linkage='STATIC', "
              "dependencies=[], issues=[])])], scope_names=None)");
}

}  // namespace
