// The product query's text, line by line, as the host database is asked it.
#include <gtest/gtest.h>

#include "conversion/ProductQuery.h"

namespace {

TEST(ProductQueryText, TwentyFiveLinesWithTheirExactIndentation) {
  const std::vector<std::string>& lines = conversion::ProductQueryLines();
  ASSERT_EQ(lines.size(), 25u);
  for (size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(i + 1);
    EXPECT_EQ(lines[i].back(), ' ');
    bool tabbed = i + 1 >= 7 && i + 1 <= 12;
    EXPECT_EQ(lines[i].rfind("\t      ", 0) == 0, tabbed);
  }
  EXPECT_EQ(lines[0], "Select P.code product_code, P.user_code product_usercode, ");
  EXPECT_EQ(lines[9], "\t      TT.description act_table_tax_name, ");
  EXPECT_EQ(lines[15], "       0 comp_modify ");
  EXPECT_EQ(lines[17],
            "               left join family SCT on (P.family_code = SCT.code and "
            "P.subfamily_code = SCT.subcode) ");
  EXPECT_EQ(lines[23], "Where coalesce(P.deleted, 0) = 0 ");
  EXPECT_EQ(lines[24], "Order By 2 asc ");
}

}  // namespace
