// The names a script has declared in the current run, each with its kind and its index in the model.
#include "compiler/NameTable.h"

namespace tavlix {

void NameTable::clear()
{
    entries_.clear();
}

const NameEntry* NameTable::find(std::string_view name) const
{
    auto it = entries_.find(name);
    return it == entries_.end() ? nullptr : &it->second;
}

void NameTable::add(std::string_view name, NameKind kind, int index)
{
    entries_[std::string(name)] = {kind, index};
}

std::vector<std::string> NameTable::names() const
{
    std::vector<std::string> all;
    all.reserve(entries_.size());
    for (const auto& entry : entries_)
        all.push_back(entry.first);
    return all;
}

}  // namespace tavlix
