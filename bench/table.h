#pragma once

#include <string>

namespace permora::bench {

// A row of the summary table: the benchmark's name, what it is judged against, and how.
struct Figure {
    std::string benchmark;   // name as registered
    std::string operation;   // what the table calls it
    double limitSeconds = 0; // 0: no absolute limit
    std::string anchor;      // benchmark measured in the same run, or empty
    double maxRatio = 0;     // limit of median / anchor median
};

void AddFigure(Figure figure);
// A measured value that is not a time (peak memory): value, limit, unit.
void AddMeasure(std::string operation, double value, double limit, std::string unit);

} // namespace permora::bench
