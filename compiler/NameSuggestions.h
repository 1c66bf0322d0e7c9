// Which known word an unknown name was probably meant to be: close misspellings and words from other languages.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavlix {

// The number of single-character edits between two words; a swap of two neighbours counts as one.
int editDistance(std::string_view a, std::string_view b);

// The section word, keyword, function or declared name (all lower case) the word is a close misspelling of, as the
// user writes it; empty when none is close enough to be worth offering.
std::string closestKnownWord(std::string_view word, const std::vector<std::string>& declared);

// The hint for a word the user may know from mathematics or another program ("sinus", "sqrt"); empty when the
// word is none of them.
std::string commonWordHint(std::string_view word);

}  // namespace tavlix
