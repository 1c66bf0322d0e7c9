// The names a script has declared in the current run, each with its kind and its index in the model.
#include "compiler/NameTable.h"

void NameTable::Clear() { entries_.clear(); }

const NameEntry* NameTable::Find(std::string_view name) const {
    auto it = entries_.find(name);
    return it == entries_.end() ? nullptr : &it->second;
}

void NameTable::Add(std::string_view name, std::uint8_t kind, int index) {
    entries_[std::string(name)] = {kind, index};
}
