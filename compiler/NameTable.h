// The names a script has declared in the current run, each with its kind and its index in the model.
#pragma once

#include "compiler/Keywords.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tavlix {

struct NameEntry {
    NameKind kind = NameKind::Constant;
    int index = 0;
};

// Names are compared in full: two names that share their first 25 characters are still two names.
class NameTable {
public:
    void clear();
    // nullptr when the name is not declared.
    const NameEntry* find(std::string_view name) const;
    void add(std::string_view name, NameKind kind, int index);
    std::size_t size() const { return entries_.size(); }
    // Every declared name, in order.
    std::vector<std::string> names() const;

private:
    std::map<std::string, NameEntry, std::less<>> entries_;
};

}  // namespace tavlix
