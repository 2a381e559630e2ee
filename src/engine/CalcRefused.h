#pragma once
// A calculation the engine cannot run on the job as it stands: too few seed points, robot angles
// missing for the offset-vector terms, parameter states that contradict each other. Thrown before
// anything is changed, or after everything has been put back.
#include <stdexcept>

namespace kal {

class CalcRefused : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace kal
