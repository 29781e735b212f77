#include "sim/rating.h"

double rateDriving()
{
    return 0.0;
}
