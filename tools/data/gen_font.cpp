#include "tools/data/gen.h"
#include "tools/data/writers.h"

void genFontPicture(const std::string&)
{
}
