// The one instance of the engine-wide values.
#include "engine/Model.h"

EngineWide Eng;
