// The counters of holes and craters drawn in this run; never stored.
#pragma once

#include <stdint.h>

struct StatisticsRecord {
    uint32_t shots;     // bullet holes drawn
    uint32_t grenades;  // craters drawn
};

extern StatisticsRecord Statistics;

// Both counters back to zero: at start-up and by the statistics dialog's Reset.
void StatisticsReset(void);
