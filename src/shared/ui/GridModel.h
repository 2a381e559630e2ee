#pragma once
// A GridSource as a Qt table model: each cell's text and look asked of the source when the view
// paints it, nothing stored. The source's header texts are the horizontal header.
//
// The model keeps the row and column counts it last announced, so a view never asks for a cell the
// source has dropped before the model is told: after the job changed, call refresh() (texts or
// looks changed, or the shape too) or reset() (the source now shows other data).
#include <QAbstractTableModel>
#include <QFont>

#include "shared/GridSource.h"

namespace kal {

class GridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // `source` may be null (an empty grid) and must outlive the model or be replaced first.
    explicit GridModel(const GridSource* source = nullptr, QObject* parent = nullptr);

    const GridSource* source() const { return source_; }
    void setSource(const GridSource* source);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // The roles a delegate asks for one cell, from one style() and at most one text() call.
    void multiData(const QModelIndex& index, QModelRoleDataSpan roleDataSpan) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Texts or styles changed: one dataChanged over all cells and headerDataChanged, which repaint
    // the visible cells only. When the row or column count changed it is a reset instead.
    void refresh();
    // The source shows other data: a model reset (selection and scroll position are dropped).
    void reset();

  private:
    QVariant roleData(const QModelIndex& index, int role, const CellStyle& style) const;

    const GridSource* source_ = nullptr;
    int rows_ = 0, columns_ = 0;
    QFont bold_;  // only the weight set, so the view's own font supplies the rest
};

}  // namespace kal
