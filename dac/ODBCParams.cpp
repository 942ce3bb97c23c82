#include "dac/ODBCParams.h"

#include "dac/DACDatabase.h"
#include "dac/ODBCStmtConsts.h"
#include "dac/ParamParser.h"
#include "dac/SQLServerRewrite.h"

namespace dac {

TODBCParam& TODBCParams::Add(const std::string& name) {
  items_.push_back(std::make_unique<TODBCParam>(name));
  return *items_.back();
}

std::string TODBCParams::ParseSQL(const std::string& sql, bool doCreate) {
  return ParseSQLFor(sql, doCreate, CurrentDriverKind());
}

std::string TODBCParams::ParseSQLFor(const std::string& sql, bool doCreate,
                                     TODBCDriverKind driverKind) {
  const std::string text = driverKind == dkMSSQLServer ? RewriteForSQLServer(sql) : sql;
  if (!doCreate) return ParseParamMarkers(text, nullptr);
  std::vector<std::string> names;
  std::string processed = ParseParamMarkers(text, &names);
  Clear();
  for (const std::string& name : names) Add(name);
  return processed;
}

TODBCParam* TODBCParams::FindParam(const std::string& name) const {
  for (const auto& item : items_)
    if (SameParamName(item->Name(), name)) return item.get();
  return nullptr;
}

TODBCParam& TODBCParams::ParamByName(const std::string& name) const {
  TODBCParam* param = FindParam(name);
  if (!param) throw db::EDatabaseError(FormatRes(SParamNotFound, name.c_str()));
  return *param;
}

void TODBCParams::AssignValues(const TODBCParams& source) {
  for (const auto& item : source.items_)
    if (TODBCParam* target = FindParam(item->Name())) target->Assign(*item);
}

bool TODBCParams::IsEqual(const TODBCParams& other) const {
  if (Count() != other.Count()) return false;
  for (size_t i = 0; i < Count(); ++i)
    if (!items_[i]->IsSameAs(*other.items_[i])) return false;
  return true;
}

TODBCParam* TODBCParams::FindByData(const void* address) const {
  for (const auto& item : items_)
    if (item->Data() && item->Data() == address) return item.get();
  return nullptr;
}

}  // namespace dac
