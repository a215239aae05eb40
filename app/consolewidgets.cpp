#include "app/consolewidgets.h"

#include <QCheckBox>
#include <QToolButton>

#include "widgets/glyphs.h"
#include "widgets/label3d.h"
#include "widgets/ovalbutton.h"
#include "widgets/spinbutton.h"

namespace consolewidgets {

QFont arialBold(int pixelSize) {
  QFont font("Arial");
  font.setBold(true);
  font.setPixelSize(pixelSize);
  return font;
}

TLabel3D* label(QWidget* parent, const char* name, const QRect& bounds, const QString& text,
                const QFont& font, TColor textColour) {
  auto* label = new TLabel3D(parent);
  label->setObjectName(name);
  label->setGeometry(bounds);
  label->setCaption(text);
  label->setFont(font);
  label->setFontColor(textColour);
  label->setTransparent(true);
  label->setAlignment(Label::Alignment::Center);
  label->setTextLayout(Label::TextLayout::Center);
  return label;
}

SpinButton* spin(QWidget* parent, const char* name, const QRect& bounds, const QString& hint) {
  auto* spin = new SpinButton(parent);
  spin->setObjectName(name);
  spin->setGeometry(bounds);
  spin->setToolTip(hint);
  return spin;
}

QCheckBox* check(QWidget* parent, const char* name, const QPoint& at, const QString& text,
                 const QString& hint) {
  auto* box = new QCheckBox(text, parent);
  box->setObjectName(name);
  box->move(at);
  box->setToolTip(hint);
  box->setFocusPolicy(Qt::NoFocus);
  box->setStyleSheet(QString("QCheckBox { color: %1; font: bold 11px 'Arial'; }")
                         .arg(toQColor(colors::lime).name()));
  box->adjustSize();
  return box;
}

TOvalButton* ovalButton(QWidget* parent, const char* name, const QRect& bounds,
                        const QString& hint) {
  auto* button = new TOvalButton(parent);
  button->setObjectName(name);
  button->setGeometry(bounds);
  button->setToolTip(hint);
  return button;
}

QToolButton* goalButton(QWidget* parent, const char* name, int left, const QString& hint,
                        bool mirrored) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setGeometry(left, 132, 48, 85);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setToolTip(hint);
  button->setIconSize(QSize(44, 81));
  button->setIcon(QPixmap::fromImage(glyphs::goal(QSize(44, 81)).mirrored(mirrored, false)));
  return button;
}

}  // namespace consolewidgets
