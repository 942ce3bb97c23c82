#pragma once
// The parameters of a statement, one item per ":NAME" marker of its text, in marker order.
#include <memory>
#include <string>
#include <vector>

#include "dac/DriverKind.h"
#include "dac/ODBCParam.h"

namespace dac {

class TODBCParams {
 public:
  TODBCParams() = default;
  TODBCParams(const TODBCParams&) = delete;
  TODBCParams& operator=(const TODBCParams&) = delete;

  TODBCParam& Items(size_t index) const { return *items_.at(index); }
  TODBCParam& operator[](size_t index) const { return Items(index); }
  size_t Count() const { return items_.size(); }
  bool Empty() const { return items_.empty(); }

  TODBCParam& Add(const std::string& name = std::string());
  void Clear() { items_.clear(); }

  // The text as the driver gets it: rewritten for SQL Server when that is the driver kind of
  // the database connected last, markers replaced by "?". With doCreate the collection is
  // emptied and gets one item per marker.
  std::string ParseSQL(const std::string& sql, bool doCreate);
  // The same for a given driver kind.
  std::string ParseSQLFor(const std::string& sql, bool doCreate, TODBCDriverKind driverKind);

  // The first item of that name (case ignored), or nullptr.
  TODBCParam* FindParam(const std::string& name) const;
  // EDatabaseError "Parameter '%s' not found" when there is none.
  TODBCParam& ParamByName(const std::string& name) const;
  // Each source item hands its value and settings to the first item of its name here.
  void AssignValues(const TODBCParams& source);
  bool IsEqual(const TODBCParams& other) const;

  // For binding: the item whose buffer starts at address, or nullptr.
  TODBCParam* FindByData(const void* address) const;

 private:
  std::vector<std::unique_ptr<TODBCParam>> items_;
};

}  // namespace dac
