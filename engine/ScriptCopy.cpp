// A private copy of a run's compiled script.
#include "engine/ScriptCopy.h"

#include <algorithm>
#include <iterator>

namespace tavlix {

void copyCompiledScript(const CompiledScript& from, CompiledScript& to)
{
    std::copy(std::begin(from.constantNames), std::end(from.constantNames), std::begin(to.constantNames));
    std::copy(std::begin(from.constantValues), std::end(from.constantValues), std::begin(to.constantValues));
    for (int i = 0; i <= MaxConsts; ++i)
        to.listConstants[i] = from.listConstants[i] ? std::make_unique<ListConstant>(*from.listConstants[i]) : nullptr;
    to.constantCount = from.constantCount;
    std::copy(std::begin(from.records), std::end(from.records), std::begin(to.records));
    to.recordCount = from.recordCount;
    to.lastPlainRecord = from.lastPlainRecord;
    to.lastOdeRecord = from.lastOdeRecord;
    std::copy(std::begin(from.tables), std::end(from.tables), std::begin(to.tables));
    to.tableCount = from.tableCount;
    std::copy(std::begin(from.outputs), std::end(from.outputs), std::begin(to.outputs));
    to.outputCount = from.outputCount;
    to.settings = from.settings;
}

}  // namespace tavlix
