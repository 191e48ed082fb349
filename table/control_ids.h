#pragma once

#include "platform/control_id.h"

// The ids of the program's controls: those of the main window, then those of
// the settings dialog and the password question. Every layer addresses controls by these names;
// the window definitions give each control its id.
namespace table::control {

inline constexpr platform::ControlId nameEdit{1102};
inline constexpr platform::ControlId firstNameEdit{1103};
inline constexpr platform::ControlId workPhoneEdit{1105};
inline constexpr platform::ControlId homePhoneEdit{1106};
inline constexpr platform::ControlId mobileEdit{1107};
inline constexpr platform::ControlId emailEdit{1108};
inline constexpr platform::ControlId faxEdit{1109};
inline constexpr platform::ControlId notesEdit{1110};
inline constexpr platform::ControlId dayEdit{1111};
inline constexpr platform::ControlId monthEdit{1112};
inline constexpr platform::ControlId yearEdit{1113};
inline constexpr platform::ControlId hourEdit{1114};
inline constexpr platform::ControlId minuteEdit{1115};
inline constexpr platform::ControlId applyButton{1217};
inline constexpr platform::ControlId deleteButton{1218};
inline constexpr platform::ControlId newButton{1219};
inline constexpr platform::ControlId duplicateButton{1220};
inline constexpr platform::ControlId filterEdit{1242};
inline constexpr platform::ControlId openButton{1041};
inline constexpr platform::ControlId saveAsButton{1043};
inline constexpr platform::ControlId listButton{1238};
inline constexpr platform::ControlId settingsButton{1274};
inline constexpr platform::ControlId mailButton{1356};
inline constexpr platform::ControlId dialWorkButton{1300};
inline constexpr platform::ControlId dialHomeButton{1301};
inline constexpr platform::ControlId dialMobileButton{1302};
inline constexpr platform::ControlId hangUpWorkButton{1303};
inline constexpr platform::ControlId hangUpHomeButton{1304};
inline constexpr platform::ControlId hangUpMobileButton{1350};
inline constexpr platform::ControlId titleLabel{1038};
inline constexpr platform::ControlId recordTable{1040};
inline constexpr platform::ControlId statusBar{1029};
inline constexpr platform::ControlId progressBar{1044};
inline constexpr platform::ControlId nameCaption{1254};
inline constexpr platform::ControlId firstNameCaption{1255};
inline constexpr platform::ControlId homePhoneCaption{1256};
inline constexpr platform::ControlId workPhoneCaption{1257};
inline constexpr platform::ControlId mobileCaption{1258};
inline constexpr platform::ControlId emailCaption{1259};
inline constexpr platform::ControlId birthdayCaption{1260};
inline constexpr platform::ControlId timeCaption{1261};
inline constexpr platform::ControlId filterCaption{1262};
inline constexpr platform::ControlId daySeparator{1263};
inline constexpr platform::ControlId monthSeparator{1264};
inline constexpr platform::ControlId timeSeparator{1265};
inline constexpr platform::ControlId rowLabel{1233};
inline constexpr platform::ControlId rowCaption{1267};
inline constexpr platform::ControlId notesCaption{1352};
inline constexpr platform::ControlId faxCaption{1359};
inline constexpr platform::ControlId telephonePicture{1361};
inline constexpr platform::ControlId ageLabel{1362};
inline constexpr platform::ControlId saveButton{1363};
inline constexpr platform::ControlId resetFilterButton{1364};

// The settings dialog: the telephone's port and the CardDAV server.
inline constexpr platform::ControlId portCaption{1275};
inline constexpr platform::ControlId portEdit{1277};
inline constexpr platform::ControlId portOkButton{1278};
inline constexpr platform::ControlId serverCaption{1279};
inline constexpr platform::ControlId serverEdit{1280};
inline constexpr platform::ControlId userCaption{1281};
inline constexpr platform::ControlId userEdit{1282};
inline constexpr platform::ControlId passwordCaption{1283};
inline constexpr platform::ControlId passwordEdit{1284};
inline constexpr platform::ControlId syncNowButton{1285};

// The question for the server's password.
inline constexpr platform::ControlId passwordQuestionCaption{1286};
inline constexpr platform::ControlId passwordQuestionEdit{1287};
inline constexpr platform::ControlId passwordQuestionOkButton{1288};

}  // namespace table::control
