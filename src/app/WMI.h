#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/Wmi.h"

class TWMIQuery;

// The program's WMI connection: runs WQL texts on the Wmi port and hands the
// rows back one at a time. Errors of the port propagate as platform::WmiError.
class TWMI {
 public:
  // Throws platform::WmiError when `service` is null.
  explicit TWMI(std::shared_ptr<platform::Wmi> service);

  // Runs `wql` and returns a query positioned before its first row.
  std::unique_ptr<TWMIQuery> CreateQuery(const std::string& wql);

  // Reads the operating system's caption, type and version and the
  // processor's address width; the last row of each query wins.
  void GetOSInfo();

  const std::string& Caption() const { return FCaption; }
  const std::string& OSType() const { return FOSType; }
  const std::string& Version() const { return FVersion; }
  int AddressWidth() const { return FAddressWidth; }

 private:
  std::shared_ptr<platform::Wmi> FWMIService;
  std::string FCaption;
  std::string FOSType;
  std::string FVersion;
  int FAddressWidth = 0;
};

// The rows of one query, walked forward only.
class TWMIQuery {
 public:
  explicit TWMIQuery(std::vector<platform::WmiRow> rows);

  // Moves to the next row; false when there is none.
  bool Next();
  // A property of the current row by name (any letter case); empty when the
  // row lacks it or there is no current row.
  std::string Value(const std::string& name) const;

 private:
  std::vector<platform::WmiRow> FWbemObjectSet;
  const platform::WmiRow* FWbemObject = nullptr;
  std::size_t FoEnum = 0;
};
