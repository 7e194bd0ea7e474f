#pragma once
// Field texts of the AC-3 bit stream information, by key and raw value.

#include <cstdint>
#include <string>
#include <string_view>

namespace tonvika {

// The detail line for one field; empty for a key without an entry.
std::string DescribeAc3Field(std::string_view key, std::uint8_t value);

}  // namespace tonvika
