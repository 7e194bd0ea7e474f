#pragma once
// Small conversions every JSON writer of the tool shares.

#include <nlohmann/json.hpp>
#include <optional>

namespace tonvika::cli {

template <typename T>
nlohmann::ordered_json OrNull(const std::optional<T>& value) {
  return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
}

}  // namespace tonvika::cli
