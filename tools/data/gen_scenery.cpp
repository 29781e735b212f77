#include "tools/data/gen.h"
#include "tools/data/writers.h"

void genScenery(const std::string&)
{
}
