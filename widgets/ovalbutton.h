#pragma once

#include <QImage>
#include <QWidget>

#include "platform/color.h"

// Where the glyph stands relative to the caption.
enum class TButtonLayout { blGlyphBottom, blGlyphLeft, blGlyphRight, blGlyphTop };

// The light and dark bevel colours derived from a face colour.
struct BevelColors {
  TColor highlight;
  TColor shadow;
};
// Highlight: each channel half-way to white; shadow: HLS lightness times 0.6. System colours
// are resolved first.
BevelColors makeBevelColors(TColor face);

// The points whose rays from the centre bound the two bevel arcs of a button of this size.
struct BevelArcPoints {
  QPoint a;
  QPoint b;
};
BevelArcPoints bevelArcPoints(QSize button);

// Where the glyph image and the caption go on the face.
struct OvalContents {
  QSize button;
  QSize caption;  // extent of the raw caption text; empty width means no caption
  QSize glyph;    // one image of the strip
  bool showGlyph = false;
  TButtonLayout layout = TButtonLayout::blGlyphBottom;
  int spacing = 4;
  int margin = 0;
  bool sunken = false;  // pressed: glyph and caption move one pixel right and down
};
struct OvalPlacement {
  QRect glyph;
  QPoint caption;
};
OvalPlacement placeOvalContents(const OvalContents& in);

// The accelerator character of a caption: the one after its first "&", or null when there is
// none or the "&" is the last character.
QChar accelCharOf(const QString& caption);

// The console's push button: an elliptic face with a two-tone bevel of two arcs, an optional
// glyph from a strip of up to four images (normal, disabled, down) and an optional one-line
// caption. Only mouse actions inside the ellipse count; a toggle button (groupIndex != 0)
// stays down until clicked again; a flat button shows its bevel only under the pointer.
// Press and release of an opaque button redraw only the bevel, glyph and caption.
class TOvalButton : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kMaxCaption = 79;

  explicit TOvalButton(QWidget* parent = nullptr);

  QString caption() const { return caption_; }
  void setCaption(const QString& text);  // at most kMaxCaption characters are kept
  TColor color() const { return color_; }
  void setColor(TColor c);
  TColor fontColor() const { return fontColor_; }
  void setFontColor(TColor c);
  bool down() const { return down_; }
  void setDown(bool on);
  bool flat() const { return flat_; }
  void setFlat(bool on);
  const QImage& glyph() const { return glyph_; }
  // Takes a copy of the strip and its bottom-left pixel as the transparent colour. Assigned
  // while designing the form (designTime), the strip's shape also sets numGlyphs.
  void setGlyph(const QImage& strip, bool designTime = false);
  int groupIndex() const { return groupIndex_; }
  void setGroupIndex(int index) { groupIndex_ = index; }
  TButtonLayout buttonLayout() const { return layout_; }
  void setButtonLayout(TButtonLayout l);
  int margin() const { return margin_; }
  void setMargin(int m);
  int numGlyphs() const { return numGlyphs_; }
  void setNumGlyphs(int n);  // clamped to 0 … 4
  int spacing() const { return spacing_; }
  void setSpacing(int s);
  bool transparent() const { return transparent_; }
  void setTransparent(bool on);
  TColor transparentColor() const { return transparentColor_; }
  void setTransparentColor(TColor c);

  TColor highlightColor() const { return bevelColors_.highlight; }
  TColor shadowColor() const { return bevelColors_.shadow; }
  int bevelState() const { return bevelState_; }  // 1 raised, -1 sunken, 0 none
  bool mouseInside() const { return mouseInside_; }
  bool mousePressed() const { return mousePressed_; }
  bool downBeforePress() const { return downBeforePress_; }

  bool hitTest(QPoint p) const;
  // Number of images in a strip designed with this size: one per square, else one.
  static int designGlyphCount(QSize strip);

 signals:
  void clicked();
  void doubleClicked();
  void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
  void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
  void mouseMoved(Qt::KeyboardModifiers modifiers, QPoint pos);
  void mouseEntered();
  void mouseExited();

 protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  enum class Part { All, Contents, Bevel };

  void drawContents(QPainter& painter);
  void drawBevel(QPainter& painter);
  void drawGlyph(QPainter& painter, const QRect& target, int image);
  // Repaints the whole button later.
  void repaintAll();
  // Redraws the given part at once over what the last full paint left.
  void redraw(Part part);
  void press(QMouseEvent* event);
  void click();
  void regrabAccelerator();

  QString caption_;
  TColor color_ = colors::btnFace;
  TColor fontColor_ = colors::black;
  bool down_ = false;
  bool flat_ = false;
  QImage glyph_;
  int groupIndex_ = 0;
  TButtonLayout layout_ = TButtonLayout::blGlyphBottom;
  int margin_ = 0;
  int numGlyphs_ = 0;
  int spacing_ = 4;
  bool transparent_ = false;
  TColor transparentColor_ = colors::black;

  BevelColors bevelColors_;
  int bevelState_ = 1;
  bool downBeforePress_ = false;
  bool mouseInside_ = false;
  bool mousePressed_ = false;
  bool leftPressed_ = false;  // a single left press began on the button: its release may click
  Part partToPaint_ = Part::All;
  bool fullPaintPending_ = true;
  int accelShortcut_ = 0;
};
