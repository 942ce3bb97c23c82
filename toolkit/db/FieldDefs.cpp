#include "toolkit/db/FieldDefs.h"

#include "toolkit/db/TextUtils.h"

namespace db {

TFieldDef& TFieldDefs::Add(const std::string& name, TFieldType dataType, int size, bool required) {
  items_.push_back(std::make_unique<TFieldDef>(name, dataType, size, required, Count() + 1));
  return *items_.back();
}

int TFieldDefs::IndexOf(const std::string& name) const {
  for (int i = 0; i < Count(); ++i)
    if (SameName(items_[i]->Name(), name)) return i;
  return -1;
}

const TFieldDef* TFieldDefs::Find(const std::string& name) const {
  const int index = IndexOf(name);
  return index < 0 ? nullptr : items_[index].get();
}

}  // namespace db
