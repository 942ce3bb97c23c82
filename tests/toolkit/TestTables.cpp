#include "TestTables.h"

namespace dbtest {

void MakeProducts(db::TMemTable& table, const std::vector<Product>& rows) {
  table.AddField("CODE", db::ftInteger);
  table.AddField("NAME", db::ftString, 40);
  table.AddField("PRICE", db::ftFloat);
  table.Open();
  for (const Product& row : rows) {
    table.Append();
    table.FieldByName("CODE").SetAsInteger(row.code);
    if (row.name) table.FieldByName("NAME").SetAsString(row.name);
    table.FieldByName("PRICE").SetAsFloat(row.price);
    table.Post();
  }
  table.First();
}

const std::vector<Product>& DefaultProducts() {
  static const std::vector<Product> rows = {
      {1, "ABC", 1.5}, {2, "ABD", 2.5}, {3, "PÃO DE LÓ", 3.5}, {4, "XYZ   ", 4.5}, {5, nullptr, 5.5}};
  return rows;
}

std::vector<int> WalkCodes(db::TDataSet& dataSet) {
  std::vector<int> codes;
  for (dataSet.First(); !dataSet.Eof(); dataSet.Next()) codes.push_back(dataSet.FieldByName("CODE").AsInteger());
  return codes;
}

}  // namespace dbtest
