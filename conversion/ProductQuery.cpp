#include "conversion/ProductQuery.h"

namespace conversion {

const std::vector<std::string>& ProductQueryLines() {
  static const std::vector<std::string> lines = {
      "Select P.code product_code, P.user_code product_usercode, ",
      "       P.name product_name, ",
      "       P.family_code category_code, P.subfamily_code subcategory_code, ",
      "       P.fo_family_code family_code, P.fo_subfamily_code subfamily_code, ",
      "       CT.name category_name, SCT.name subcategory_name, ",
      "       F.name family_name, SF.name subfamily_name, ",
      "\t      P.table_tax act_table_tax, ",
      "\t      P.direct_tax act_direct_tax, ",
      "\t      P.purchase_tax act_purchase_tax, ",
      "\t      TT.description act_table_tax_name, ",
      "\t      TD.description act_direct_tax_name, ",
      "\t      TP.description act_purchase_tax_name, ",
      "       null new_table_tax, ",
      "       null new_direct_tax, ",
      "       null new_purchase_tax, ",
      "       0 comp_modify ",
      "From product P left join family CT on (P.family_code = CT.code and CT.subcode = 0) ",
      "               left join family SCT on (P.family_code = SCT.code and P.subfamily_code = SCT.subcode) ",
      "               left join family F on (P.fo_family_code = F.code and F.subcode = 0) ",
      "               left join family SF on (P.fo_family_code = SF.code and P.fo_subfamily_code = SF.subcode) ",
      "               left join tax TT on (P.table_tax = TT.code) ",
      "               left join tax TD on (P.direct_tax = TD.code) ",
      "               left join tax TP on (P.purchase_tax = TP.code) ",
      "Where coalesce(P.deleted, 0) = 0 ",
      "Order By 2 asc ",
  };
  return lines;
}

}  // namespace conversion
