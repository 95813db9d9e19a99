#pragma once

#include "client/model/Handlers.h"
#include "client/service/JSONConversion.h"

#include <string_view>

namespace kelpa {

// Builds nested records from the members of a JSON object.
class RecordMapping {
public:
    // List: each element built with T::initWithJSON, in order; missing gives an empty list.
    template <class T>
    static RecordList<T> list(const nlohmann::json& object, std::string_view key) {
        RecordList<T> records;
        const auto* value = JSONConversion::member(object, key);
        if (value && value->is_array()) {
            records.reserve(value->size());
            for (const auto& element : *value) records.push_back(T::initWithJSON(element));
        }
        return records;
    }

    // Records from a whole list reply.
    template <class T>
    static RecordList<T> records(const nlohmann::json& list) {
        RecordList<T> records;
        records.reserve(list.size());
        for (const auto& element : list) records.push_back(T::initWithJSON(element));
        return records;
    }

    // Object: a nested record, built even when the member is missing.
    template <class T>
    static std::shared_ptr<T> object(const nlohmann::json& object, std::string_view key) {
        const auto* value = JSONConversion::member(object, key);
        return T::initWithJSON(value ? *value : nlohmann::json());
    }
};

}  // namespace kelpa
