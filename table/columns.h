#pragma once

#include "platform/record_view.h"

namespace table {

inline constexpr int slotColumn = 9;
inline constexpr int columnWidth = 144;

// Gives the record table its nine columns: the field labels and "Nr.", all
// 144 pixels wide except the notes and the slot number, which are hidden
// (width 0) but keep their texts.
void setupTableColumns(platform::RecordView& view);

}  // namespace table
