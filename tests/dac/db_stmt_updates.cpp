// The conversion's three update statements through TDACSQL on both real drivers.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/dac/db_stmt_fixture.h"

using namespace dac;

namespace {

const std::vector<std::string> kUpdateProds = {
    "UPDATE product",
    "SET table_tax = case when coalesce(:NEW_TABLE_TAX, 0) <> 0 then :NEW_TABLE_TAX else "
    "table_tax end,",
    "       direct_tax = case when coalesce(:NEW_DIRECT_TAX, 0) <> 0 then :NEW_DIRECT_TAX else "
    "direct_tax end,",
    "       purchase_tax = case when coalesce(:NEW_PURCHASE_TAX, 0) <> 0 then :NEW_PURCHASE_TAX "
    "else purchase_tax end",
    "WHERE code = :PRODUCT_CODE",
    ""};

const std::vector<std::string> kUpdatePrices = {
    "UPDATE productprice SET price_wo_tax = (price_wo_tax * (1 + (:old_taxvalue/100)) ) / (1 + "
    "(:new_taxvalue/100))",
    "WHERE fiscalregion_code = :fiscalregion",
    "AND productprice.product_code = :product_code"};

const std::vector<std::string> kUpdateFamPrices = {
    "UPDATE familyprice SET price_wo_tax = (price_wo_tax * (1 + (:old_taxvalue/100)) ) / (1 + "
    "(:new_taxvalue/100))",
    "WHERE fiscalregion_code = :fiscalregion",
    "AND family_code = :family_code",
    "AND family_subcode = :family_subcode"};

const double kConverted = 100 * 1.13 / 1.23;

class UpdateStatementsTest : public stmttest::StmtDatabaseTest {
 protected:
  std::string Taxes(int code) {
    return Scalar("SELECT table_tax || ',' || direct_tax || ',' || purchase_tax FROM product "
                  "WHERE code = " + std::to_string(code));
  }
  void SetProds(TDACSQL& statement, int table, int direct, int purchase, int code) {
    statement.ParamByName("NEW_TABLE_TAX").SetAsInteger(table);
    statement.ParamByName("NEW_DIRECT_TAX").SetAsInteger(direct);
    statement.ParamByName("NEW_PURCHASE_TAX").SetAsInteger(purchase);
    statement.ParamByName("PRODUCT_CODE").SetAsInteger(code);
  }
};

TEST_P(UpdateStatementsTest, UpdateProdsChangesOnlyTheChosenCodesOfTheProduct) {
  Exec("CREATE TABLE product (code integer primary key, table_tax integer, direct_tax integer, "
       "purchase_tax integer)");
  Exec("INSERT INTO product VALUES (1, 13, 13, 13)");
  Exec("INSERT INTO product VALUES (2, 13, 13, 13)");
  TDACSQL statement;
  Attach(statement, kUpdateProds);
  SetProds(statement, 23, 0, 6, 1);
  ASSERT_EQ(statement.ParamCount(), 7u);
  statement.ExecQuery();
  EXPECT_EQ(statement.RowsAffected(), 1);
  // The value set once under a name reaches its second marker.
  EXPECT_EQ(statement.Params().Items(1).AsInteger(), 23);
  EXPECT_EQ(&statement.ParamByName("new_table_tax"), &statement.Params().Items(0));

  // The second row reuses the preparation.
  SQLHSTMT handle = statement.StatementHandle();
  SetProds(statement, 0, 23, 0, 2);
  statement.ExecQuery();
  EXPECT_EQ(statement.StatementHandle(), handle);
  EXPECT_TRUE(statement.Prepared());
  transaction_.Commit();

  EXPECT_EQ(Taxes(1), "23,13,6");
  EXPECT_EQ(Taxes(2), "13,23,13");
}

TEST_P(UpdateStatementsTest, UpdatePricesConvertsOneProductInOneRegion) {
  Exec("CREATE TABLE productprice (product_code integer, fiscalregion_code integer, "
       "price_wo_tax numeric(15,4))");
  Exec("INSERT INTO productprice VALUES (1, 1, 100)");
  Exec("INSERT INTO productprice VALUES (1, 2, 100)");
  Exec("INSERT INTO productprice VALUES (2, 1, 100)");
  TDACSQL statement;
  Attach(statement, kUpdatePrices);
  statement.ParamByName("OLD_TAXVALUE").SetAsFloat(13);
  statement.ParamByName("NEW_TAXVALUE").SetAsFloat(23);
  statement.ParamByName("FISCALREGION").SetAsInteger(1);
  statement.ParamByName("PRODUCT_CODE").SetAsInteger(1);
  statement.ExecQuery();
  EXPECT_EQ(statement.RowsAffected(), 1);
  transaction_.Commit();

  const char* price = "SELECT price_wo_tax FROM productprice WHERE product_code = %d AND "
                      "fiscalregion_code = %d";
  auto priceOf = [&](int product, int region) {
    char sql[200];
    std::snprintf(sql, sizeof sql, price, product, region);
    return ScalarFloat(sql);
  };
  EXPECT_NEAR(priceOf(1, 1), kConverted, 0.00005);  // 91.8699 at the column's scale
  EXPECT_EQ(priceOf(1, 2), 100);
  EXPECT_EQ(priceOf(2, 1), 100);
}

TEST_P(UpdateStatementsTest, UpdateFamPricesConvertsOneFamilyInOneRegion) {
  Exec("CREATE TABLE familyprice (family_code integer, family_subcode integer, "
       "fiscalregion_code integer, price_wo_tax numeric(15,4))");
  Exec("INSERT INTO familyprice VALUES (10, 0, 1, 100)");
  Exec("INSERT INTO familyprice VALUES (10, 1, 1, 100)");
  Exec("INSERT INTO familyprice VALUES (10, 0, 2, 100)");
  Exec("INSERT INTO familyprice VALUES (11, 0, 1, 100)");
  TDACSQL statement;
  Attach(statement, kUpdateFamPrices);
  statement.ParamByName("OLD_TAXVALUE").SetAsFloat(13);
  statement.ParamByName("NEW_TAXVALUE").SetAsFloat(23);
  statement.ParamByName("FISCALREGION").SetAsInteger(1);
  statement.ParamByName("FAMILY_CODE").SetAsInteger(10);
  statement.ParamByName("FAMILY_SUBCODE").SetAsInteger(0);
  statement.ExecQuery();
  EXPECT_EQ(statement.RowsAffected(), 1);
  transaction_.Commit();

  EXPECT_NEAR(ScalarFloat("SELECT price_wo_tax FROM familyprice WHERE family_code = 10 AND "
                          "family_subcode = 0 AND fiscalregion_code = 1"),
              kConverted, 0.00005);
  EXPECT_EQ(Scalar("SELECT count(*) FROM familyprice WHERE price_wo_tax = 100"), "3");
}

// A price statement that finds no row is no error.
TEST_P(UpdateStatementsTest, AnUpdateThatTouchesNoRowIsNoError) {
  Exec("CREATE TABLE productprice (product_code integer, fiscalregion_code integer, "
       "price_wo_tax numeric(15,4))");
  TDACSQL statement;
  Attach(statement, kUpdatePrices);
  statement.ParamByName("OLD_TAXVALUE").SetAsFloat(13);
  statement.ParamByName("NEW_TAXVALUE").SetAsFloat(23);
  statement.ParamByName("FISCALREGION").SetAsInteger(1);
  statement.ParamByName("PRODUCT_CODE").SetAsInteger(99);
  EXPECT_NO_THROW(statement.ExecQuery());
  EXPECT_EQ(statement.RowsAffected(), 0);
  EXPECT_FALSE(statement.Active());
}

INSTANTIATE_FOR_BOTH_DATABASES(UpdateStatementsTest);

}  // namespace
