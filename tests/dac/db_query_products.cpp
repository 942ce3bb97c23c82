// The product query of the conversion window, built line by line in a query on the window's
// database and transaction, opened on both drivers over the demo database and transferred
// into an in-memory table like MDProducts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "conversion/ProductQuery.h"
#include "dac/DACQuery.h"
#include "dac/DACTransaction.h"
#include "dac/SQLMonitor.h"
#include "toolkit/db/MemTable.h"
#include "toolkit/db/TextUtils.h"
#include "tests/dac/support_dac.h"

using namespace dac;
using dactest::RealDatabaseTest;

namespace {

const std::vector<std::string>& kProductQuery = conversion::ProductQueryLines();

// The statements of demo/demo.sql, comments dropped.
std::vector<std::string> DemoStatements() {
  const auto path = std::filesystem::path(__FILE__).parent_path() / "../../demo/demo.sql";
  std::ifstream file(path);
  if (!file) throw std::runtime_error("cannot read " + path.string());
  std::string text, line;
  while (std::getline(file, line))
    if (line.rfind("--", 0) != 0) text += line + "\n";
  std::vector<std::string> statements;
  std::stringstream all(text);
  std::string statement;
  while (std::getline(all, statement, ';'))
    if (statement.find_first_not_of(" \r\n\t") != std::string::npos) statements.push_back(statement);
  return statements;
}

// The product table of the conversion window, fields as it defines them.
void DefineProducts(db::TMemTable& table) {
  using db::ftInteger;
  using db::ftString;
  const std::pair<const char*, db::TFieldType> fields[] = {
      {"PRODUCT_CODE", ftInteger},       {"PRODUCT_USERCODE", ftString},
      {"PRODUCT_NAME", ftString},        {"CATEGORY_CODE", ftInteger},
      {"SUBCATEGORY_CODE", ftInteger},   {"FAMILY_CODE", ftInteger},
      {"SUBFAMILY_CODE", ftInteger},     {"CATEGORY_NAME", ftString},
      {"SUBCATEGORY_NAME", ftString},    {"FAMILY_NAME", ftString},
      {"SUBFAMILY_NAME", ftString},      {"ACT_TABLE_TAX", ftInteger},
      {"ACT_DIRECT_TAX", ftInteger},     {"ACT_PURCHASE_TAX", ftInteger},
      {"ACT_TABLE_TAX_NAME", ftString},  {"ACT_DIRECT_TAX_NAME", ftString},
      {"ACT_PURCHASE_TAX_NAME", ftString}, {"NEW_TABLE_TAX", ftInteger},
      {"NEW_DIRECT_TAX", ftInteger},     {"NEW_PURCHASE_TAX", ftInteger},
  };
  for (const auto& [name, type] : fields)
    table.AddField(name, type, type == ftString ? (std::string(name) == "PRODUCT_USERCODE" ? 20 : 40) : 0);
  table.AddField("MODIFY", db::ftSmallint);
}

class ProductLoading : public RealDatabaseTest {
 protected:
  void SetUp() override {
    std::vector<std::string> params = Params();
    if (IsPostgres()) {
      // The demo tables go into a schema of this test's own.
      schema = testdb::UniqueName("prod");
      TDACDatabase admin;
      admin.SetLoginPrompt(false);
      admin.SetParams(params);
      admin.Open();
      dactest::ExecDirect(admin, "CREATE SCHEMA " + schema);
      params.push_back("ConnSettings=SET search_path TO " + schema);
    }
    database.SetLoginPrompt(false);
    database.SetParams(params);
    database.Open();
    for (const std::string& statement : DemoStatements()) dactest::ExecDirect(database, statement);
    transaction.SetDefaultDatabase(&database);
  }
  void TearDown() override {
    transaction.SetActive(false);
    database.Close();
    if (!schema.empty()) {
      TDACDatabase admin;
      admin.SetLoginPrompt(false);
      admin.SetParams(Params());
      admin.Open();
      dactest::ExecDirect(admin, "DROP SCHEMA " + schema + " CASCADE");
    }
  }

  std::string schema;
  TDACDatabase database;
  TDACTransaction transaction;
};

TEST_P(ProductLoading, EveryProductNotDeletedTransfersIntoTheProductTable) {
  TDACQuery query;
  query.SetBufferChunks(100);
  query.SetDatabase(&database);
  query.SetTransaction(&transaction);
  for (const std::string& line : kProductQuery) query.AddSQL(line);
  ASSERT_EQ(query.SQL(), kProductQuery);
  EXPECT_EQ(query.ParamCount(), 0u);

  int executions = 0;
  const int hook = SQLMonitor().AddHook(
      [&](const void* sender, int, const std::string& text, const std::string&) {
        if (sender == &query.Statement()) {
          ++executions;
          EXPECT_EQ(text, testdb::JoinLines(kProductQuery) + "\n");
        }
      },
      uint8_t(1u << 1));
  query.Open();
  EXPECT_EQ(query.Params().Count(), 0u);

  db::TMemTable products;
  DefineProducts(products);
  products.Open();
  products.LoadFromDataSet(query);
  SQLMonitor().RemoveHook(hook);
  EXPECT_EQ(executions, 1);

  ASSERT_EQ(products.RowCount(), 26);  // 27 products, one of them deleted
  std::vector<std::string> userCodes;
  for (products.First(); !products.Eof(); products.Next())
    userCodes.push_back(products.FieldByName("PRODUCT_USERCODE").AsString());
  EXPECT_TRUE(std::is_sorted(userCodes.begin(), userCodes.end()));
  EXPECT_EQ(std::count(userCodes.begin(), userCodes.end(), "0024"), 0) << "deleted";
  EXPECT_EQ(std::count(userCodes.begin(), userCodes.end(), "0004"), 1) << "deleted is empty";

  ASSERT_TRUE(products.Locate("PRODUCT_CODE", int32_t(13)));
  auto text = [&](const char* name) { return products.FieldByName(name).AsString(); };
  EXPECT_EQ(text("PRODUCT_NAME"), "Pão de Ló de Ovar");
  EXPECT_EQ(text("CATEGORY_NAME"), "Pastelaria");
  EXPECT_EQ(text("SUBCATEGORY_NAME"), "Bolos");
  EXPECT_EQ(text("FAMILY_NAME"), "Restauração");
  EXPECT_EQ(text("SUBFAMILY_NAME"), "Balcão");
  EXPECT_EQ(products.FieldByName("CATEGORY_CODE").AsInteger(), 20);
  EXPECT_EQ(products.FieldByName("SUBFAMILY_CODE").AsInteger(), 2);
  EXPECT_EQ(products.FieldByName("ACT_TABLE_TAX").AsInteger(), 2);
  EXPECT_EQ(text("ACT_TABLE_TAX_NAME"), "Taxa Intermédia");
  EXPECT_EQ(text("ACT_PURCHASE_TAX_NAME"), "Taxa Reduzida");
  for (const char* name : {"NEW_TABLE_TAX", "NEW_DIRECT_TAX", "NEW_PURCHASE_TAX", "MODIFY"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(products.FieldByName(name).IsNull());
  }
  EXPECT_EQ(products.FieldByName("NEW_TABLE_TAX").AsInteger(), 0);

  ASSERT_TRUE(products.Locate("PRODUCT_CODE", int32_t(26)));
  const std::string longName = "Serviço de Mesa (couvert com pão, manteiga e azeitonas)";
  EXPECT_EQ(text("PRODUCT_NAME"), db::Utf8CutToChars(longName, 40));
  EXPECT_EQ(db::Utf8Length(text("PRODUCT_NAME")), 40u);

  ASSERT_TRUE(products.Locate("PRODUCT_CODE", int32_t(27)));
  EXPECT_EQ(products.FieldByName("ACT_TABLE_TAX").AsInteger(), 7);
  EXPECT_TRUE(products.FieldByName("ACT_TABLE_TAX_NAME").IsNull()) << "tax 7 has no row";
}

INSTANTIATE_FOR_BOTH_DATABASES(ProductLoading);

}  // namespace
