#pragma once

#include <QWidget>

#include "platform/color.h"
#include "widgets/textdraw.h"

// A text label in the manner of the classic VCL label: caption, font colour, background colour
// or transparency, horizontal alignment, vertical layout, word wrapping, accelerator prefixes
// ("&" underlines the next character, "&&" shows one "&") and an integer Tag. The text is
// drawn with textdraw; labels with text effects override drawCaption.
class Label : public QWidget {
  Q_OBJECT

 public:
  enum class Alignment { LeftJustify, RightJustify, Center };
  enum class TextLayout { Top, Center, Bottom };

  explicit Label(QWidget* parent = nullptr);

  QString caption() const { return caption_; }
  void setCaption(const QString& text);
  TColor color() const { return color_; }
  void setColor(TColor c);
  TColor fontColor() const { return fontColor_; }
  void setFontColor(TColor c);
  bool transparent() const { return transparent_; }
  void setTransparent(bool on);
  Alignment alignment() const { return alignment_; }
  void setAlignment(Alignment a);
  TextLayout textLayout() const { return textLayout_; }
  void setTextLayout(TextLayout l);
  bool wordWrap() const { return wordWrap_; }
  void setWordWrap(bool on);
  bool showAccelChar() const { return showAccelChar_; }
  void setShowAccelChar(bool on);
  // A caption wider than the label is drawn in a smaller size of the font, so that it shows
  // whole; one that fits is drawn in the font as it is.
  bool shrinkToWidth() const { return shrinkToWidth_; }
  void setShrinkToWidth(bool on);
  int tag() const { return tag_; }
  void setTag(int tag) { tag_ = tag; }

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) final;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // Draws the whole label, or the part of it in the painter's clip.
  virtual void paintLabel(QPainter& painter);
  // A property changed: the next paint draws the label anew.
  void changed();
  // Stores a new property value and repaints; the same value changes nothing.
  template <typename T>
  void store(T& field, const T& value) {
    if (field == value) return;
    field = value;
    changed();
  }

  // Draws (or with textdraw::CalcRect measures) the caption in rect with textdraw flags and
  // returns the rectangle as textdraw does.
  virtual QRect drawCaption(QPainter& painter, const QRect& rect, unsigned flags);

  // The textdraw flag of the alignment.
  unsigned alignmentFlag() const;
  // The caption as drawn with these flags: measuring an empty caption (or a lone accelerator
  // "&") measures one blank so that the label still has one line.
  QString captionFor(unsigned flags) const;
  // The font the caption is drawn in: the label's font, made smaller to fit with shrinkToWidth.
  QFont drawingFont() const { return captionFont(caption_); }
  QFont captionFont(const QString& caption) const;
  // How far the drawing may reach beyond the advance boxes of the caption's characters where
  // textdraw places them in the whole label: copies of the text, and a frame that narrows the
  // text's area. A disabled label draws an engraved copy one pixel down and right.
  virtual int captionReach() const { return 1; }
  // Adds textdraw::NoPrefix when accelerator prefixes are shown as they are.
  unsigned prefixFlags(unsigned flags) const;
  // Moves rect down for the vertical layout, measuring the caption with flags.
  QRect layoutRect(QPainter& painter, const QRect& rect, unsigned flags);

 private:
  // Where a new caption can change what the label shows: around the ink of the characters
  // that differ, when both captions are one line of the same width with each character in the
  // same place. An empty region means the whole label.
  QRegion captionChange(const QString& before, const QString& after) const;
  // The ink of the characters from … to of a shaped line (its top at 0), their advance boxes
  // included.
  static QRectF ink(const textdraw::ShapedLine& line, int from, int to);

  QString caption_;
  TColor color_ = colors::btnFace;
  TColor fontColor_ = colors::black;
  bool transparent_ = false;
  Alignment alignment_ = Alignment::LeftJustify;
  TextLayout textLayout_ = TextLayout::Top;
  bool wordWrap_ = false;
  bool showAccelChar_ = true;
  bool shrinkToWidth_ = false;
  int tag_ = 0;
  bool leftPressed_ = false;  // a single left press began here: its release clicks
  // The last font fitted to the width, for the caption text, label font and width it was for.
  struct Fitted {
    QString text;
    QFont font;
    int width = -1;
    QFont result;
  };
  mutable Fitted fitted_;
};
