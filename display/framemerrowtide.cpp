#include "display/framemerrowtide.h"

#include "display/layout.h"
#include "platform/identity.h"
#include "widgets/label3d.h"

namespace {

TLabel3D* markLabel(QWidget* frame, const char* name, const QString& text, TColor color,
                    Label::Alignment alignment) {
  auto* label = new TLabel3D(frame);
  label->setObjectName(name);
  label->setCaption(text);
  QFont font("Arial");
  font.setBold(true);
  label->setFont(font);
  label->setFontColor(color);
  label->setTransparent(true);
  label->setBevel(TLabel3DBevel::blShadow);
  label->setShadowColor(colors::black);
  label->setShadowSize(2);
  label->setAlignment(alignment);
  label->setTextLayout(Label::TextLayout::Center);
  return label;
}

}  // namespace

TFrameMerrowtide::TFrameMerrowtide(int ppi, QWidget* parent) : QWidget(parent), ppi_(ppi) {
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, QColor(32, 32, 32));
  setPalette(p);
  // Read together the parts give "SCORVEX " and the version: the name in two colours.
  MarkLeft = markLabel(this, "MarkLeft", "SCOR", colors::white, Label::Alignment::RightJustify);
  MarkMiddle = markLabel(this, "MarkMiddle", "VEX", 0x0080FF, Label::Alignment::LeftJustify);
  MarkRight = markLabel(this, "MarkRight", QString(" ") + identity::kVersion, colors::yellow,
                        Label::Alignment::RightJustify);
}

void TFrameMerrowtide::resizeEvent(QResizeEvent*) {
  const MarkLayout m = layoutMark(size(), {MarkLeft->caption(), MarkLeft->font()}, ppi_);
  MarkLeft->setGeometry(m.left);
  MarkMiddle->setGeometry(m.middle);
  MarkRight->setGeometry(m.right);
  for (TLabel3D* label : {MarkLeft, MarkMiddle, MarkRight})
    label->setFont(fontWithPointSize(label->font(), m.pointSize, ppi_));
}
