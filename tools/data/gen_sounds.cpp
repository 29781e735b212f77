#include "tools/data/gen.h"
#include "tools/data/writers.h"

void genSounds(const std::string&)
{
}

void genRadio(const std::string&)
{
}
