#include "platform/qt/port_settings_dialog.h"

#include <QLabel>
#include <array>

#include "platform/control_ids.h"
#include "platform/qt/pictures.h"
#include "platform/qt/text_conversion.h"

namespace platform::qt {

namespace {

constexpr int clientWidth = 231;
constexpr int clientHeight = 125;
constexpr QPoint placeInOwner(596, 289);

struct Control {
  ControlId id;
  std::string_view text;
  int x, y, width, height;
};

// The caption (right-aligned), the port field and OK, in Tab order.
constexpr std::array<Control, 3> controls{{
    {ControlId::portCaption, "Telefon an COM1....COMx:", 2, 14, 164, 16},
    {ControlId::portEdit, {}, 170, 10, 54, 22},
    {ControlId::portOkButton, "OK", 178, 98, 48, 22},
}};

constexpr std::string_view portTooltip = "z.B. COM3 oder COM12";

QRect geometryOf(const Control& control) {
  return QRect(control.x, control.y, control.width, control.height);
}

}  // namespace

PortSettingsDialog::PortSettingsDialog(const QString& storedPort, const QFont& font,
                                       TooltipController& tooltips, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                         Qt::WindowCloseButtonHint) {
  setWindowTitle(QStringLiteral("Einstellungen"));
  setWindowIcon(pictureIcon("port-settings-icon", {QSize(32, 32)}));
  setFont(font);
  setFixedSize(clientWidth, clientHeight);
  setModal(true);

  auto* caption = new QLabel(toQString(controls[0].text), this);
  caption->setTextFormat(Qt::PlainText);
  caption->setAlignment(Qt::AlignRight | Qt::AlignTop);
  caption->setGeometry(geometryOf(controls[0]));
  caption->setObjectName(QString::number(toInt(controls[0].id)));

  port_ = new QLineEdit(storedPort, this);
  port_->setGeometry(geometryOf(controls[1]));
  port_->setObjectName(QString::number(toInt(controls[1].id)));
  tooltips.add(port_, toQString(portTooltip));

  ok_ = new QPushButton(toQString(controls[2].text), this);
  ok_->setGeometry(geometryOf(controls[2]));
  ok_->setObjectName(QString::number(toInt(controls[2].id)));
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

  QWidget::setTabOrder(port_, ok_);
  ok_->setFocus(Qt::OtherFocusReason);

  if (owner != nullptr) move(owner->mapToGlobal(placeInOwner));
}

}  // namespace platform::qt
