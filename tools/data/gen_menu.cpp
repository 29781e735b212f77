#include "tools/data/gen.h"
#include "tools/data/writers.h"

void genMenuPictures(const std::string&)
{
}
