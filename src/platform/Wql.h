#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Wmi.h"

namespace platform {

// A parsed "SELECT a,b FROM Class [WHERE Prop = value]".
struct WqlQuery {
  std::string className;
  std::vector<std::string> properties;  // empty for "*"
  struct Condition {
    std::string property;
    std::string value;
  };
  std::optional<Condition> where;
};

// Throws WmiError for a text that is not such a query.
WqlQuery ParseWql(const std::string& text);

// Keeps the rows that meet the WHERE clause (values compared without regard
// to letter case, as WQL does) and, in each, only the selected properties.
std::vector<WmiRow> ApplyWql(const WqlQuery& query, const std::vector<WmiRow>& rows);

bool EqualsIgnoreCase(const std::string& a, const std::string& b);

}  // namespace platform
