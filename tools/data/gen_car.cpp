#include "tools/data/gen.h"
#include "tools/data/writers.h"

void genCar(const std::string&)
{
}
