#pragma once
// Field texts of the DTS core frame header, by key and raw value.

#include <cstdint>
#include <string>
#include <string_view>

namespace tonvika {

std::string DescribeDtsField(std::string_view key, std::uint8_t value);

}  // namespace tonvika
