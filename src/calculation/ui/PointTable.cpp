// A stand-in that shows no rows until the point table itself arrives.
#include "calculation/ui/PointTable.h"

namespace kal {

PointTable::PointTable(JobState& job, JobEvents& events, QWidget* parent) : DataGrid(parent) {
    setObjectName("Tabelle");
}

void PointTable::refill() {}

void PointTable::useAllPoints() {}

void PointTable::switchMaxPoint(int component, const std::string& pointName) {}

void PointTable::setDeviationShown(bool shown) {}

}  // namespace kal
