#include "platform/qt/record_table_model.h"

#include "platform/qt/text_conversion.h"
#include "platform/type_ahead.h"

namespace platform::qt {

namespace {

// The most characters a cell shows: laying out megabytes for a column a few
// hundred pixels wide would hold the window for seconds.
constexpr std::size_t maxCellLength = 1024;

}  // namespace

int RecordTableModel::contentRows() const { return content_ ? content_->rowCount() : 0; }

int RecordTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int RecordTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(titles_.size());
}

QVariant RecordTableModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
  // The content may already have lost rows that the view still shows until
  // it is told; such cells are empty rather than read out of range.
  if (index.row() >= contentRows()) return QString();
  std::string cell = content_->cell(index.row() + 1, index.column() + 1);
  return toQString(std::string_view(cell).substr(0, maxCellLength));
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
      section < titles_.size()) {
    return titles_[section];
  }
  return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags RecordTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void RecordTableModel::setColumns(std::span<const TableColumn> columns) {
  beginResetModel();
  titles_.clear();
  for (const TableColumn& column : columns) titles_.append(toQString(column.title));
  rows_ = contentRows();
  endResetModel();
}

void RecordTableModel::setContent(const TableContent* content) {
  content_ = content;
  reset();
}

void RecordTableModel::reset() {
  beginResetModel();
  rows_ = contentRows();
  endResetModel();
}

void RecordTableModel::rowsAppended() {
  int rows = contentRows();
  if (rows > rows_) {
    beginInsertRows({}, rows_, rows - 1);
    rows_ = rows;
    endInsertRows();
  } else if (rows < rows_) {
    reset();  // the content shrank without saying so: start afresh
  }
}

void RecordTableModel::rowChanged(int row) {
  if (row < 1 || row > rows_ || titles_.isEmpty()) return;
  Q_EMIT dataChanged(index(row - 1, 0), index(row - 1, static_cast<int>(titles_.size()) - 1),
                     {Qt::DisplayRole});
}

int RecordTableModel::typeAheadRow(int currentRow, QStringView typed) const {
  if (content_ == nullptr) return 0;
  int row = platform::typeAheadRow(*content_, currentRow, toCp1252(typed));
  // Rows the view has not been told of yet are not there for it.
  return row <= rows_ ? row : 0;
}

}  // namespace platform::qt
