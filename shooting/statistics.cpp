// The counters of holes and craters drawn in this run; their one owner.
#include "shooting/statistics.h"

StatisticsRecord Statistics;

void StatisticsReset(void)
{
    Statistics.shots = 0;
    Statistics.grenades = 0;
}
