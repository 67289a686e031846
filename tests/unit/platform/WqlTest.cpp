#include <gtest/gtest.h>

#include "platform/Wql.h"

namespace platform {
namespace {

using Properties = std::vector<std::string>;

TEST(ParseWql, ReadsTheQueriesTheProgramWrites) {
  const struct {
    std::string text;
    std::string className;
    Properties properties;
    std::string whereProperty;
    std::string whereValue;
  } cases[] = {
      {"SELECT Caption,Ostype,Version FROM CIM_OperatingSystem",
       "CIM_OperatingSystem",
       {"Caption", "Ostype", "Version"},
       "",
       ""},
      {"SELECT * FROM Win32_Process", "Win32_Process", {}, "", ""},
      {"select deviceid from Win32_PnPEntity", "Win32_PnPEntity", {"deviceid"}, "", ""},
      {"SELECT DriveType,FileSystem,Name,Size FROM Win32_LogicalDisk Where DriveType=2",
       "Win32_LogicalDisk",
       {"DriveType", "FileSystem", "Name", "Size"},
       "DriveType",
       "2"},
      {R"(SELECT InterfaceType,Size FROM Win32_DiskDrive Where InterfaceType="USB")",
       "Win32_DiskDrive",
       {"InterfaceType", "Size"},
       "InterfaceType",
       "USB"},
      {R"(SELECT Size,FreeSpace  FROM Win32_LogicalDisk where Caption ="C:")",
       "Win32_LogicalDisk",
       {"Size", "FreeSpace"},
       "Caption",
       "C:"},
      {"SELECT a , b FROM X WHERE Name = 'x y'", "X", {"a", "b"}, "Name", "x y"},
      {R"(SELECT a FROM X WHERE Id = 'USB\\VID_1782')", "X", {"a"}, "Id", R"(USB\VID_1782)"},
  };
  for (const auto& c : cases) {
    const WqlQuery query = ParseWql(c.text);
    EXPECT_EQ(query.className, c.className) << c.text;
    EXPECT_EQ(query.properties, c.properties) << c.text;
    ASSERT_EQ(query.where.has_value(), !c.whereProperty.empty()) << c.text;
    if (query.where) {
      EXPECT_EQ(query.where->property, c.whereProperty) << c.text;
      EXPECT_EQ(query.where->value, c.whereValue) << c.text;
    }
  }
}

TEST(ParseWql, RefusesMalformedTextWithWmiError) {
  for (const std::string text :
       {"", "SELECT", "SELECT FROM X", "SELECT a FROM", "SELECT a, FROM X", "DELETE a FROM X",
        "SELECT a FROM X WHERE", "SELECT a FROM X WHERE b",
        "SELECT a FROM X WHERE b =", "SELECT a FROM X WHERE b = 'open", "SELECT a FROM X junk",
        "SELECT a FROM X WHERE b < 2", "SELECT a FROM X WHERE b = 'it''s'"}) {
    EXPECT_THROW(ParseWql(text), WmiError) << text;
  }
}

TEST(ApplyWql, FiltersWithoutRegardToCaseAndKeepsOnlySelectedProperties) {
  const std::vector<WmiRow> rows{
      {{"Caption", "C:"}, {"DriveType", "3"}, {"Size", "100"}},
      {{"Caption", "E:"}, {"DriveType", "2"}, {"Size", "16"}},
      {{"Caption", "f:"}, {"DriveType", "2"}},
  };
  const auto removable = ApplyWql(ParseWql("SELECT caption,SIZE FROM d WHERE drivetype=2"), rows);
  ASSERT_EQ(removable.size(), 2u);
  EXPECT_EQ(removable[0]["Caption"], "E:");
  EXPECT_EQ(removable[0]["Size"], "16");
  EXPECT_FALSE(removable[0].Has("DriveType"));
  EXPECT_EQ(removable[1]["Size"], "");  // missing property reads empty

  const auto byCaption = ApplyWql(ParseWql("SELECT * FROM d WHERE Caption = 'F:'"), rows);
  ASSERT_EQ(byCaption.size(), 1u);
  EXPECT_EQ(byCaption[0]["drivetype"], "2");
}

}  // namespace
}  // namespace platform
