// The names a script has declared in the current run, each with its kind and its index in the model.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

struct NameEntry {
    std::uint8_t Kind = 0;  // a NameKind
    int Index = 0;
};

// Names are compared in full: two names that share their first 25 characters are still two names.
class NameTable {
public:
    void Clear();
    // nullptr when the name is not declared.
    const NameEntry* Find(std::string_view name) const;
    void Add(std::string_view name, std::uint8_t kind, int index);
    std::size_t size() const { return entries_.size(); }

private:
    std::map<std::string, NameEntry, std::less<>> entries_;
};
