// The advisor and evaluator runs as Python values: typed objects down to the
// vulnerabilities and violations, enums and identifiers as str.
#define PY_SSIZE_T_CLEAN
#include <Python.h>
#include <gtest/gtest.h>

#include <string>

#include "models/ort/advisor_run.hpp"
#include "models/ort/evaluator_run.hpp"
#include "embedded_util.hpp"

using namespace brindle::models;
using namespace brindle::models::ort;
using brindle::test::converted;
using brindle::test::python_repr;

namespace {

const char* base = "start_time: s\nend_time: e\nenvironment: [v, j, '17', o, 1, 2]\n";
const char* environment =
    "environment=Environment(ort_version='v', build_jdk='j', java_version='17', os='o', processors=1, "
    "max_memory=2, variables={})";

TEST(AdvisorEvaluatorConverter, EvaluatorRun) {
    EXPECT_EQ(converted<EvaluatorRun>(std::string(base) +
                                      "violations:\n"
                                      "- {rule: r, pkg: 'NPM::a:1', license_sources: [DETECTED, 3], severity: 3, "
                                      "message: m, how_to_fix: h}\n"
                                      "- {rule: r, severity: HINT, message: m, how_to_fix: h}\n"),
              std::string("EvaluatorRun(start_time='s', end_time='e', ") + environment +
                  ", violations=[RuleViolation(rule='r', pkg='NPM::a:1', license=None, license_sources=['DETECTED'], "
                  "severity='ERROR', message='m', how_to_fix='h'), RuleViolation(rule='r', pkg=None, license=None, "
                  "license_sources=[], severity='HINT', message='m', how_to_fix='h')])");
}

TEST(AdvisorEvaluatorConverter, AdvisorRun) {
    EXPECT_EQ(converted<AdvisorRun>(std::string(base) +
                                    "config: {advisors: {A: {b: [1, 2.5, x], a: null}}}\n"
                                    "results:\n"
                                    "  'NPM::a:1':\n"
                                    "  - advisor: {name: n, capabilities: [2]}\n"
                                    "    summary: {start_time: 1, end_time: e}\n"
                                    "    vulnerabilities:\n"
                                    "    - {id: v, references: [{url: u, score: .nan}], first_fixed_versions: [1.2]}\n"
                                    "    defects:\n"
                                    "    - {id: d, url: u, labels: {k: 1}}\n"),
              std::string("AdvisorRun(start_time='s', end_time='e', ") + environment +
                  ", config=AdvisorConfiguration(skip_excluded=False, advisors={'A': {'a': None, 'b': [1, 2.5, 'x']}}), "
                  "provider_issues=[], results={'NPM::a:1': [AdvisorResult(advisor=AdvisorDetails(name='n', "
                  "capabilities=['VULNERABILITIES']), summary=AdvisorSummary(start_time='1', end_time='e', issues=[]), "
                  "vulnerabilities=[Vulnerability(id='v', summary=None, description=None, "
                  "references=[VulnerabilityReference(url='u', scoring_system=None, severity=None, score=nan, "
                  "vector=None)], first_fixed_versions=['1.2'])], defects=[Defect(id='d', url='u', title=None, "
                  "state=None, severity=None, description=None, creation_time=None, modification_time=None, "
                  "closing_time=None, fix_release_version=None, fix_release_url=None, labels={'k': '1'})])]})");
}

}  // namespace
