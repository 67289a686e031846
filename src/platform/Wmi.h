#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace platform {

struct CaseInsensitiveLess {
  bool operator()(const std::string& a, const std::string& b) const;
};

// One result row: property name to its value as text. A property the row
// lacks reads as empty.
class WmiRow {
 public:
  WmiRow() = default;
  WmiRow(std::initializer_list<std::pair<const std::string, std::string>> values)
      : values_(values) {}
  const std::string& operator[](const std::string& name) const;
  void Set(const std::string& name, std::string value) { values_[name] = std::move(value); }
  bool Has(const std::string& name) const { return values_.contains(name); }

 private:
  std::map<std::string, std::string, CaseInsensitiveLess> values_;
};

class WmiError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Runs the WQL texts the program uses: SELECT props FROM class [WHERE prop=value].
// Throws WmiError when the query cannot be run (unknown class, bad text, a
// provider that fails).
class Wmi {
 public:
  virtual ~Wmi() = default;
  virtual std::vector<WmiRow> Query(const std::string& wql) = 0;
};

}  // namespace platform
