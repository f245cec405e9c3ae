// The machine a benchmark runs on, and what it can do at best for one page of an index: read it from the system's
// file cache with pread, or copy it out of a mapping of the file. Printed beside the
// engine's figures, they show how far each step still is from the machine's limit.
#pragma once

#include <string>

namespace bench {

struct MachineLimits {
  double preadSeconds = 0;   // one cached pread of a page
  double mappedSeconds = 0;  // one copy of a page out of a mapping already made
  int pageBytes = 0;
};

// Measures both on a scratch file made in `folder` and removed again; zero figures
// when the file cannot be made.
MachineLimits MeasureMachineLimits(const std::string& folder);

// "2.81 us a row = 3.8 cached preads = 18 mapped page reads".
std::string DistanceFromLimits(const MachineLimits& limits, double secondsPerRow);

// "Intel(R) Xeon(R) Processor, 2 cores, 23.6 GiB memory, Linux 6.1.0": what a figure was
// measured on.
std::string MachineDescription();

}  // namespace bench
