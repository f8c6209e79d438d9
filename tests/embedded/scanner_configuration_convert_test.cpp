// The scanner configuration as a Python value: typed objects for its
// storage configurations, plain dicts for the scan storages and free-form
// settings.
#define PY_SSIZE_T_CLEAN
#include <Python.h>
#include <gtest/gtest.h>

#include <string>

#include "models/ort/scanner_configuration.hpp"
#include "embedded_util.hpp"

using namespace brindle::models;
using namespace brindle::models::ort;
using brindle::test::converted;
using brindle::test::python_repr;

namespace {

TEST(ScannerConfigurationConverter, Defaults) {
    EXPECT_EQ(python_repr(read_document<ScannerConfiguration>("{}")),
              "ScannerConfiguration(skip_concluded=False, skip_excluded=False, include_files_without_findings=False, "
              "archive=None, detected_license_mapping={}, file_list_storage=None, scanners=None, storages=None, "
              "storage_readers=None, storage_writers=None, ignore_patterns=[], provenance_storage=None)");
}

TEST(ScannerConfigurationConverter, Storages) {
    auto c = read_document<ScannerConfiguration>(
        "archive: {file_storage: {local_file_storage: {directory: d}}}\n"
        "file_list_storage: {postgres_storage: {connection: {url: u, username: n, max_lifetime: 5}, type: 1}}\n"
        "provenance_storage: {}\n"
        "scanners: {S: {b: [1, 2.5, x], a: null}}\n"
        "storages:\n  s: {b: 1, a: x, B: {}}\n  t:\n"
        "storage_writers: []\n");
    EXPECT_EQ(python_repr(c.archive),
              "FileArchiverConfiguration(enabled=True, file_storage=FileStorageConfiguration(http_file_storage=None, "
              "local_file_storage=LocalFileStorageConfiguration(directory='d', compression=True), "
              "s3_file_storage=None), postgres_storage=None)");
    EXPECT_EQ(python_repr(c.file_list_storage),
              "FileListStorageConfiguration(file_storage=None, postgres_storage=PostgresStorageConfiguration("
              "connection=PostgresConnection(url='u', schema='public', username='n', password='', "
              "sslmode='verify-full', sslcert=None, sslkey=None, sslrootcert=None, connection_timeout=None, "
              "idle_timeout=None, keepalive_time=None, max_lifetime=5, maximum_pool_size=None, minimum_idle=None), "
              "type='PACKAGE_BASED'))");
    EXPECT_EQ(python_repr(c.provenance_storage), "ProvenanceStorageConfiguration(file_storage=None, postgres_storage=None)");
    EXPECT_EQ(python_repr(c.scanners), "{'S': {'a': None, 'b': [1, 2.5, 'x']}}");
    EXPECT_EQ(python_repr(c.storages), "{'s': {'B': {}, 'a': 'x', 'b': 1}, 't': {}}");
    EXPECT_EQ(python_repr(c.storage_writers), "[]");

    ScanStorageConfiguration odd;
    odd.content = JsonValue::text("x");
    // A reading error, which the call layer raises as ValueError.
    EXPECT_THROW(
        {
            try {
                brindle::python::to_python(odd);
            } catch (const ReadError& e) {
                EXPECT_EQ(e.text(), "can only flatten structs and maps (got a string)");
                throw;
            }
        },
        ReadError);
}

}  // namespace
