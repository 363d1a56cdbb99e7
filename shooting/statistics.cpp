// The counters of holes and craters drawn in this run; their one owner.
#include "shooting/statistics.h"

StatisticsRecord Statistics;
