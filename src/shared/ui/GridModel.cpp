#include "shared/ui/GridModel.h"

#include <QBrush>
#include <QColor>

namespace kal {
namespace {

Qt::Alignment qtAlignment(CellAlignment alignment) {
    switch (alignment) {
        case CellAlignment::Center:
            return Qt::AlignCenter;
        case CellAlignment::Right:
            return Qt::AlignRight | Qt::AlignVCenter;
        case CellAlignment::Left:
            break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

QVariant brush(const std::optional<Rgb>& colour) {
    if (!colour) return {};
    return QBrush(QColor(colour->red, colour->green, colour->blue));
}

bool needsStyle(int role) {
    return role == Qt::TextAlignmentRole || role == Qt::FontRole || role == Qt::ForegroundRole ||
           role == Qt::BackgroundRole;
}

}  // namespace

GridModel::GridModel(const GridSource* source, QObject* parent) : QAbstractTableModel(parent) {
    bold_.setBold(true);
    setSource(source);
}

void GridModel::setSource(const GridSource* source) {
    beginResetModel();
    source_ = source;
    rows_ = source_ ? source_->rowCount() : 0;
    columns_ = source_ ? source_->columnCount() : 0;
    endResetModel();
}

int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int GridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_; }

QVariant GridModel::roleData(const QModelIndex& index, int role, const CellStyle& style) const {
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(source_->text(index.row(), index.column()));
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(qtAlignment(style.alignment));
        case Qt::FontRole:
            return style.bold ? QVariant(bold_) : QVariant();
        case Qt::ForegroundRole:
            return brush(style.foreground);
        case Qt::BackgroundRole:
            return brush(style.background);
        default:
            return {};
    }
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!source_ || !checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
    const CellStyle style = needsStyle(role) ? source_->style(index.row(), index.column()) : CellStyle{};
    return roleData(index, role, style);
}

void GridModel::multiData(const QModelIndex& index, QModelRoleDataSpan roleDataSpan) const {
    if (!source_ || !checkIndex(index, CheckIndexOption::IndexIsValid)) {
        for (QModelRoleData& roleData : roleDataSpan) roleData.clearData();
        return;
    }
    bool styled = false;
    for (const QModelRoleData& roleData : roleDataSpan) styled = styled || needsStyle(roleData.role());
    const CellStyle style = styled ? source_->style(index.row(), index.column()) : CellStyle{};
    for (QModelRoleData& roleData : roleDataSpan)
        roleData.setData(this->roleData(index, roleData.role(), style));
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && source_ && section >= 0 &&
        section < columns_)
        return QString::fromStdString(source_->headerText(section));
    return QAbstractTableModel::headerData(section, orientation, role);
}

void GridModel::refresh() {
    const int rows = source_ ? source_->rowCount() : 0;
    const int columns = source_ ? source_->columnCount() : 0;
    if (rows != rows_ || columns != columns_) {
        reset();
        return;
    }
    if (rows_ > 0 && columns_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, columns_ - 1));
    if (columns_ > 0) emit headerDataChanged(Qt::Horizontal, 0, columns_ - 1);
}

void GridModel::reset() { setSource(source_); }

}  // namespace kal
