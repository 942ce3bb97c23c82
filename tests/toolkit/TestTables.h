#pragma once
// Small in-memory tables the dataset tests share.
#include <string>
#include <vector>

#include "toolkit/db/DataLink.h"
#include "toolkit/db/MemTable.h"

namespace dbtest {

struct Product {
  int code;
  const char* name;
  double price;
};

// CODE integer, NAME text 40, PRICE float; opened and filled with the rows.
void MakeProducts(db::TMemTable& table, const std::vector<Product>& rows);
// The default rows: codes 1..5.
const std::vector<Product>& DefaultProducts();
// The codes of every row from the first to the end.
std::vector<int> WalkCodes(db::TDataSet& dataSet);

// A link that counts what it hears.
class CountingLink : public db::TDataLink {
 public:
  int activeChanged = 0, editingChanged = 0, dataSetChanged = 0, scrolled = 0, recordChanged = 0,
      fieldChanged = 0, layoutChanged = 0, updateData = 0, checkBrowse = 0;
  void Reset() {
    activeChanged = editingChanged = dataSetChanged = scrolled = recordChanged = fieldChanged =
        layoutChanged = updateData = checkBrowse = 0;
  }
  int Total() const {
    return activeChanged + editingChanged + dataSetChanged + scrolled + recordChanged + fieldChanged +
           layoutChanged;
  }

 protected:
  void ActiveChanged() override { ++activeChanged; }
  void EditingChanged() override { ++editingChanged; }
  void DataSetChanged() override { ++dataSetChanged; }
  void DataSetScrolled(int) override { ++scrolled; }
  void RecordChanged(db::TField* field) override { ++(field ? fieldChanged : recordChanged); }
  void LayoutChanged() override { ++layoutChanged; }
  void UpdateData() override { ++updateData; }
  void CheckBrowseMode() override { ++checkBrowse; }

};

}  // namespace dbtest
