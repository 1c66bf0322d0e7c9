// The settings calculator: text in, number out, computed while parsing.
#include "support/SettingsCalculator.h"

#include "support/CalcParser.h"

namespace tavlix {

CalcResult evaluate(std::string_view text)
{
    return CalcParser(text).run();
}

}  // namespace tavlix
