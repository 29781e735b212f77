#include "tools/data/gen.h"
#include "tools/data/writers.h"

void genBuses(const std::string&)
{
}
