#include "models/ort/scan_storage_configuration.hpp"

#include <string>
#include <utility>

#include "models/buffered.hpp"

namespace brindle::models::ort {

namespace {

// A captured value as a JSON value.  Nested keys were resolved like values
// when captured, so only those that stayed texts are accepted.
JsonValue json_from_captured(const Buffered& v) {
    switch (v.kind) {
        case Buffered::Kind::null: return JsonValue::null();
        case Buffered::Kind::boolean: return JsonValue::boolean(v.boolean);
        case Buffered::Kind::unsigned_int: return JsonValue::number(v.unsigned_int);
        case Buffered::Kind::negative_int: return JsonValue::number(v.negative_int);
        case Buffered::Kind::floating: return JsonValue::number(v.floating);
        case Buffered::Kind::text: return JsonValue::text(v.text);
        case Buffered::Kind::sequence: {
            JsonValue::Array items;
            items.reserve(v.items.size());
            for (const Buffered& item : v.items) items.push_back(json_from_captured(item));
            return JsonValue::array(std::move(items));
        }
        case Buffered::Kind::mapping: {
            JsonValue::Object members;
            members.reserve(v.items.size() / 2);
            for (std::size_t i = 0; i < v.items.size(); i += 2) {
                const Buffered& key = v.items[i];
                if (key.kind != Buffered::Kind::text) throw_buffered_invalid_type(key, i == 0 ? "a string key" : "a string");
                members.emplace_back(key.text, json_from_captured(v.items[i + 1]));
            }
            return JsonValue::object_of(std::move(members));
        }
        case Buffered::Kind::tagged: break;  // capturing fails on local tags
    }
    throw_buffered_invalid_type(v, "any value");
}

}  // namespace

void read(Cursor& c, ScanStorageConfiguration& out) {
    read_node(c, [&](Cursor& at, const Event& e) {
        if (e.kind == EventKind::mapping_start) {
            SeenFields<ScanStorageConfiguration> seen;
            CapturedEntries entries;
            read_struct_fields(at, e, out, seen, [&](const Event&, std::string_view key, Cursor& value) {
                value.keep_key();
                entries.push_back(CapturedEntry{std::string(key), capture_json(value)});
            });
            JsonValue::Object members;
            members.reserve(entries.size());
            for (CapturedEntry& entry : entries)
                members.emplace_back(std::move(entry.key), json_from_captured(entry.value));
            out.content = JsonValue::object_of(std::move(members));
        } else if (!is_empty_value(at, e)) {
            throw_invalid_struct(at, e, Model<ScanStorageConfiguration>::name);
        }
    });
}

}  // namespace brindle::models::ort
