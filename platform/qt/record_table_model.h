#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <span>

#include "platform/record_view.h"
#include "platform/table_content.h"

namespace platform::qt {

// The record table's rows as Qt sees them. Cells are asked of the
// TableContent when the view paints them, so no row is copied; the model
// only remembers the row count it has announced to the view, because the
// content has already changed by the time the model is told.
class RecordTableModel : public QAbstractTableModel {
 public:
  using QAbstractTableModel::QAbstractTableModel;

  [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
  [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
  [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
  [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                    int role) const override;
  [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;

  void setColumns(std::span<const TableColumn> columns);
  void setContent(const TableContent* content);
  // The content changed wholesale.
  void reset();
  // Rows were added at the end of the content.
  void rowsAppended();
  // One row (1-based) changed its texts.
  void rowChanged(int row);
  // The row (1-based) that the letters typed so far lead to from the
  // current row (0 for none); 0 when they lead nowhere.
  [[nodiscard]] int typeAheadRow(int currentRow, QStringView typed) const;

 private:
  [[nodiscard]] int contentRows() const;

  const TableContent* content_ = nullptr;
  QStringList titles_;
  int rows_ = 0;
};

}  // namespace platform::qt
