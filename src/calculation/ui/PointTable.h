#pragma once
// The point table of the calculation window: one row per identical point with its residuals and
// use flags (object name "Tabelle").
#include <QPoint>
#include <QString>
#include <string>

#include "shared/JobEvents.h"
#include "shared/JobState.h"
#include "shared/ui/DataGrid.h"

namespace kal {

class PointTable : public DataGrid {
    Q_OBJECT
  public:
    PointTable(JobState& job, JobEvents& events, QWidget* parent = nullptr);  // objectName "Tabelle"
    void refill();                                                            // TabelleFüllenNeu
    void useAllPoints();                                                      // BtnUseAllPts's action
    void switchMaxPoint(int component /*0 x, 1 y, 2 z*/, const std::string& pointName);
    void setDeviationShown(bool shown);  // CheckDeviation
  signals:
    void recalculationRequested();
    void seedsChanged();
    void pointSelected(const QString& name);
    void contextMenuRequested(const QPoint& globalPos);
};

}  // namespace kal
