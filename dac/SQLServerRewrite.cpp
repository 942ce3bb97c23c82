#include "dac/SQLServerRewrite.h"

// GCC 12 reports uninitialised std::function members inside libstdc++'s own regex compiler at
// -O2; the warning is about the library's code, not this file's.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <regex>
#include <stdexcept>
#include <vector>

namespace dac {
namespace {

struct TRewriteRule {
  const char* Pattern;
  const char* Replacement;
  int Passes;
};

// Patterns and replacements as the dialect needs them, character for character. Under
// ECMAScript "[^{dbo.}]" and "[^{left}]" stay character classes (not a word), escapes such as
// "\'" or "\:" inside a class stand for the character itself, and "$n" inserts group n.
const TRewriteRule kRules[] = {
    {R"(([^{dbo.}])(nvl_float\(|round\(|trunc\(|\bnmod\b\(|\bmod\b\(|nmax\(|string_replace\(|strlength\(|strpos\(|datetoiso\(|rightfill\())",
     "$1dbo.$2", 3},
    {R"(([^{dbo.}])(trim)\s*\(\s*([\d\w\. \'\(\)]*)\s*\))", "$1LTRIM(RTRIM($3))", 1},
    {R"(([^{dbo.}])(gen_id)\s*\(\s*([\d\w\. ]*)\s*,0\))", "$1dbo.$2('$3')", 1},
    {R"(((\|){2}))", "+", 1},
    {R"((rdb\$database))", "systable", 1},
    {R"((select)\s*(first))", "$1 top", 1},
    {R"((extract)\s*\(\s*([^ ]*)\s*(from)\s*([^ ]*)\s*\))", "datepart($2, $4)", 1},
    {R"((substring)\s*\(\s*([\d\w\.\ \+\|\'\(\)\/]*)\s*(from)\s*([^ ]*)\s*(for)\s*([^ ]*)\s*\))",
     "substring($2, $4, $6)", 1},
    {R"(([\s*])(date|time|timestamp)([\s*,\)]))", "$1datetime$3", 1},
    {R"((left)\s*(join)\s*(getwarehousecost|get_best_product_suplier|get_stock|table_name)\s*\(\s*([,\d\w\. ():']*)\s*\)\s*([\d\w\.]*)\s*(on\s*[\d\w\.]*)\s*=\s*([\d\w\.]*))",
     " OUTER APPLY $3($4) $5", 1},
    {R"((left)\s*(join)\s*(get_product_price|get_store_numparam|getavgprice|getproductstock|product_stock|lot_product_stock|get_lot_list)\s*\(\s*([,\d\w\. ():']*)\s*\)\s*([\d\w\.]*)\s*(on\s*[\d\w\.]*)\s*=\s*([\d\w\.]*))",
     " OUTER APPLY $3($4) $5", 1},
    {R"(([^{left}])\s*(join)\s*(getwarehousecost|get_best_product_suplier|get_stock|table_name)\s*\(\s*([,\d\w\. ():']*)\s*\)\s*([\d\w\.]*)\s*(on\s*[\d\w\.]*)\s*=\s*([\d\w\.]*))",
     "$1 CROSS APPLY $3($4) $5", 1},
    {R"(([^{left}])\s*(join)\s*(get_store_numparam|getavgprice|getproductstock|product_stock|lot_product_stock|get_lot_list)\s*\(\s*([,\d\w\. ():']*)\s*\)\s*([\d\w\.]*)\s*(on\s*[\d\w\.]*)\s*=\s*([\d\w\.]*))",
     "$1 CROSS APPLY $3($4) $5", 1},
    {R"('now')", "CAST(FLOOR(CAST(GETDATE() AS DECIMAL(12, 5))) AS DATETIME)", 1},
    {R"((execute\s*procedure)\s*([\d\w]*)\s*\(\s*([\d\w\,\: ]*)\s*\))", "exec $2 $3", 1},
    {R"((execute\s*procedure))", "exec", 1},
    {R"((with\s*recursive))", "with", 1},
};
constexpr size_t kRuleCount = sizeof kRules / sizeof kRules[0];

// Compiled once, on first use.
const std::vector<std::regex>& CompiledRules() {
  static const std::vector<std::regex> compiled = [] {
    std::vector<std::regex> result;
    result.reserve(kRuleCount);
    for (const TRewriteRule& rule : kRules)
      result.emplace_back(rule.Pattern, std::regex::ECMAScript | std::regex::icase);
    return result;
  }();
  return compiled;
}

}  // namespace

size_t SQLServerRuleCount() { return kRuleCount; }

std::string ApplySQLServerRule(size_t index, const std::string& sql) {
  if (index >= kRuleCount) throw std::out_of_range("SQL Server rewriting rule index");
  const std::regex& pattern = CompiledRules()[index];
  std::string text = sql;
  for (int pass = 0; pass < kRules[index].Passes; ++pass)
    text = std::regex_replace(text, pattern, kRules[index].Replacement);
  return text;
}

std::string RewriteForSQLServer(const std::string& sql) {
  std::string text = sql;
  for (size_t i = 0; i < kRuleCount; ++i) text = ApplySQLServerRule(i, text);
  return text;
}

}  // namespace dac
