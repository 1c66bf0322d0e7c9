// A private copy of a run's compiled script.
#include "engine/ScriptCopy.h"

namespace tavlix {

void copyCompiledScript(const CompiledScript& from, Model& to)
{
    to.adoptScript(from);
}

}  // namespace tavlix
