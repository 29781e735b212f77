#include "tools/data/gen.h"
#include "tools/data/writers.h"

void genRouteFiles(const std::string&)
{
}
