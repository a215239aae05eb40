#pragma once

#include "widgets/label.h"

enum class TLabel3DBevel { blNone, blLowered, blRaised, blShadow };
enum class TGradientOrientation { goHorizontal, goVertical };
enum class TLabel3DBorderStyle { lbNone, lbNormal, lbLowered, lbRaised, lbInn, lbOut };

// A label whose text has a bevel or a drop shadow in up to eight directions, with an optional
// two-colour gradient background and a flat or 3D frame of BorderWidth rings. The big numbers
// and names of the console and the display are drawn with it, for example:
//   console clock:     blRaised, highLightColor black, opaque 0x006000, yellow text
//   console scores:    blRaised, shadowSize 2, transparent, red text
//   penalty times:     blShadow, shadowColor black, transparent
//   console period:    fillGradient, goVertical, green to white
//   names lines:       blNone, opaque
// Colours may name system colours; they are resolved each time the label is drawn.
class TLabel3D : public Label {
  Q_OBJECT

 public:
  explicit TLabel3D(QWidget* parent = nullptr);

  TColor highLightColor() const { return highLightColor_; }
  void setHighLightColor(TColor c);
  TColor shadowColor() const { return shadowColor_; }
  void setShadowColor(TColor c);
  TLabel3DBevel bevel() const { return bevel_; }
  void setBevel(TLabel3DBevel b);
  int shadowSize() const { return shadowSize_; }
  void setShadowSize(int size);  // clamped to 0 … 255
  int shadowNapr() const { return shadowNapr_; }
  void setShadowNapr(int directions);
  bool fillGradient() const { return fillGradient_; }
  void setFillGradient(bool on);
  TColor firstColor() const { return firstColor_; }
  void setFirstColor(TColor c);
  TColor lastColor() const { return lastColor_; }
  void setLastColor(TColor c);
  TGradientOrientation gradientOrientation() const { return gradientOrientation_; }
  void setGradientOrientation(TGradientOrientation o);
  TColor borderColor() const { return borderColor_; }
  void setBorderColor(TColor c);
  int borderWidth() const { return borderWidth_; }
  void setBorderWidth(int width);
  TLabel3DBorderStyle borderStyle() const { return borderStyle_; }
  void setBorderStyle(TLabel3DBorderStyle s);

  // Draws the caption with the bevel and shadow copies into rect, or with textdraw::CalcRect
  // only measures it (the copies do not count); returns the rectangle as textdraw does.
  QRect drawText3D(QPainter& painter, const QRect& rect, unsigned flags);
  // Draws borderWidth rings, left and top edges in topLeft and right and bottom edges in
  // bottomRight, and shrinks rect by borderWidth on every side.
  void drawFrame3D(QPainter& painter, QRect& rect, TColor topLeft, TColor bottomRight) const;

 protected:
  void paintLabel(QPainter& painter) override;
  QRect drawCaption(QPainter& painter, const QRect& rect, unsigned flags) override;
  // The copies move by shadowSize; a drawn frame of up to two rings narrows the text's area.
  int captionReach() const override {
    const int frame = borderStyle_ == TLabel3DBorderStyle::lbNone ? 0 : 2 * qMax(0, borderWidth_);
    return shadowSize_ + frame + 1;
  }

 private:
  void drawBorder(QPainter& painter, QRect& rect) const;
  void drawGradient(QPainter& painter, const QRect& rect) const;
  // The light copy and the shadow copies of a bevelled text.
  void drawCopies(QPainter& painter, const QString& text, const QRect& rect, unsigned flags) const;

  TColor highLightColor_ = colors::btnHighlight;
  TColor shadowColor_ = colors::btnShadow;
  TLabel3DBevel bevel_ = TLabel3DBevel::blRaised;
  int shadowSize_ = 1;
  int shadowNapr_ = 1;
  bool fillGradient_ = false;
  TColor firstColor_ = colors::white;
  TColor lastColor_ = colors::teal;
  TGradientOrientation gradientOrientation_ = TGradientOrientation::goHorizontal;
  TColor borderColor_ = colors::black;
  int borderWidth_ = 1;
  TLabel3DBorderStyle borderStyle_ = TLabel3DBorderStyle::lbNone;
};
