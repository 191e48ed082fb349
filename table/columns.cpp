#include "table/columns.h"

#include <vector>

#include "addressbook/field_table.h"

namespace table {

void setupTableColumns(platform::RecordView& view) {
  std::vector<platform::TableColumn> columns;
  for (int row = 1; row <= addressbook::fieldCount(); ++row) {
    bool hidden = addressbook::fieldKey(row) == "NOTE";
    columns.push_back({std::string(*addressbook::fieldLabel(row)), hidden ? 0 : columnWidth});
  }
  columns.push_back({"Nr.", 0});
  view.setColumns(columns);
}

}  // namespace table
