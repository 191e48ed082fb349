#pragma once

// Numeric ids of the main window's controls and of the port settings dialog.
// Every layer addresses controls by these ids through the Window interface.

namespace platform {

enum class ControlId : int {
  none = 0,
  nameEdit = 1102,
  firstNameEdit = 1103,
  workPhoneEdit = 1105,
  homePhoneEdit = 1106,
  mobileEdit = 1107,
  emailEdit = 1108,
  faxEdit = 1109,
  notesEdit = 1110,
  dayEdit = 1111,
  monthEdit = 1112,
  yearEdit = 1113,
  hourEdit = 1114,
  minuteEdit = 1115,
  applyButton = 1217,
  deleteButton = 1218,
  newButton = 1219,
  duplicateButton = 1220,
  filterEdit = 1242,
  openButton = 1041,
  saveAsButton = 1043,
  listButton = 1238,
  settingsButton = 1274,
  mailButton = 1356,
  dialWorkButton = 1300,
  dialHomeButton = 1301,
  dialMobileButton = 1302,
  hangUpWorkButton = 1303,
  hangUpHomeButton = 1304,
  hangUpMobileButton = 1350,
  titleLabel = 1038,
  recordTable = 1040,
  statusBar = 1029,
  progressBar = 1044,
  nameCaption = 1254,
  firstNameCaption = 1255,
  homePhoneCaption = 1256,
  workPhoneCaption = 1257,
  mobileCaption = 1258,
  emailCaption = 1259,
  birthdayCaption = 1260,
  timeCaption = 1261,
  filterCaption = 1262,
  daySeparator = 1263,
  monthSeparator = 1264,
  timeSeparator = 1265,
  rowLabel = 1233,
  rowCaption = 1267,
  notesCaption = 1352,
  faxCaption = 1359,
  telephonePicture = 1361,
  ageLabel = 1362,
  saveButton = 1363,
  resetFilterButton = 1364,

  // The port settings dialog.
  portCaption = 1275,
  portEdit = 1277,
  portOkButton = 1278,
};

[[nodiscard]] constexpr int toInt(ControlId id) { return static_cast<int>(id); }

}  // namespace platform
