#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QImage>
#include <QMap>
#include <QRegion>
#include <QTimer>
#include <QWidget>
#include <optional>

#include "platform/color.h"

// The running-text strip: one line of text moved across the control in steps by its own timer,
// drawn with a raised or lowered 3D effect. `Position` runs from 0 to `Steps`; the text's place
// is the fraction Position / Steps of the way from one edge to the other, so every pass starts
// just outside one border and ends just outside the opposite one. `UpdateMetrics` makes one
// step one pixel of horizontal travel; `OneStep` is the pixels per tick, `Speed` the tick
// interval in milliseconds. The arithmetic lives in the free functions below; the widget
// applies it. The strip paints every pixel itself; a tick repaints only the pixels the step
// can change, which is where the text's ink lies before and after the step.

enum class TRLabelStyle : quint8 { rlNormal, rlRaised, rlLowered };
enum class TRDirection : quint8 {
  rdStatic,
  rdRightToLeft,
  rdLeftToRight,
  rdTopToBottom,
  rdBottomToTop
};

// The text's font and its main colour.
struct RunFont {
  QFont font;
  TColor color = colors::white;
  bool operator==(const RunFont&) const = default;
};

// The text box (text extent plus the 3D depth on each side) and the offsets that centre it.
struct RunMetrics {
  int TextBoxWidth = 0;
  int TextBoxHeight = 0;
  int CenterX = 0;
  int CenterY = 0;
};

// Nearest integer, a half going to the even neighbour.
int nearestEven(double v);
// Offset that centres a box in a control: half the difference, toward zero; 0 if it does not fit.
int centerOffset(int controlSize, int boxSize);
RunMetrics runMetrics(QSize textExtent, int depth, QSize control);
// How far through the pass a step is; a step count of 0 or less shows the start.
double runFraction(int step, int steps);
// The top-left corner of the text box at fraction f of a pass.
QPoint runTextPosition(TRDirection direction, double f, const RunMetrics& m, QSize control);

class TRunString : public QWidget {
  Q_OBJECT

 public:
  explicit TRunString(QWidget* parent = nullptr);

  TRLabelStyle LabelStyle() const { return labelStyle_; }
  void setLabelStyle(TRLabelStyle style);
  TRDirection Direction() const { return direction_; }
  void setDirection(TRDirection direction);
  QString RText() const { return rText_; }
  void setRText(const QString& text);
  int OneStep() const { return oneStep_; }
  void setOneStep(int step);
  int Steps() const { return steps_; }
  virtual void setSteps(int steps);
  int Speed() const { return speed_; }
  void setSpeed(int ms);
  TColor Color() const { return color_; }
  void setColor(TColor c);
  TColor ColorH() const { return colorH_; }
  void setColorH(TColor c);
  TColor ColorS() const { return colorS_; }
  void setColorS(TColor c);
  const RunFont& RFont() const { return rFont_; }
  // A standing text wider than the strip is drawn smaller, so that it ends inside the strip
  // (and not under whatever lies beside it). shownFont() is the font it is drawn in.
  void setFitToWidth(bool on);
  const QFont& shownFont() const { return shownFont_; }
  void setRFont(const RunFont& font);
  int Depth() const { return depth_; }
  void setDepth(int depth);
  int StepToView() const { return stepToView_; }
  void setStepToView(int step);
  bool AutoRewind() const { return autoRewind_; }
  void setAutoRewind(bool on) { autoRewind_ = on; }
  int Position() const { return position_; }
  // General-purpose integer the owner keeps on the control (the console's playback mode).
  int Tag() const { return tag_; }
  void setTag(int tag) { tag_ = tag; }

  // Design mode paints `StepToView` instead of `Position` and enables its setter.
  bool designMode() const { return designMode_; }
  void setDesignMode(bool on);
  // With external ticks the own timer never starts; only calls of tick() move the text.
  // Tests and benchmarks use this to step the ticker without a clock.
  void setExternalTicks(bool on);
  bool timerEnabled() const { return timerEnabled_; }
  int timerInterval() const { return timer_.interval(); }
  RunMetrics metrics() const { return runMetrics(textExtent_, depth_, size()); }

  // Moves to step s when 0 <= s <= Steps and enables the timer; does not repaint.
  void Start(int s);
  // Disables the timer and returns the position, which stays as it is.
  int Stop();
  // Measures the text, recentres it and recomputes Steps, then schedules a repaint.
  void UpdateMetrics();
  // Draws the text with its 3D layers; (x, y) is the top-left corner of the text box.
  // Glyphs outside the painter's clip are skipped, so a long text costs only what shows.
  void DrawRunText(QPainter& painter, QPoint at, const QString& text) const;

 public slots:
  // One timer step: begin event, advance, paint at once, step event, end of pass.
  void tick();

 signals:
  void OnBegin();
  void OnStep();
  void OnEnd();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // A piece of the drawn text and where its ink lies, both in the piece's own coordinates.
  struct Tile {
    QImage image;
    QRegion ink;
  };

  void setTimerEnabled(bool on);
  void measureText();
  // The whole strip is drawn anew by the next paint.
  void redrawAll();
  void prepareText();
  QPoint textPosition() const;
  // Tile numbers of the text area's columns that the strip shows with the text at `at`.
  std::pair<int, int> tilesInView(QPoint at) const;
  const Tile& tile(int index);
  QList<QGlyphRun> glyphRuns(const QString& text, QPaintDevice* device) const;
  void drawLayers(QPainter& painter, QPoint at, const QList<QGlyphRun>& runs) const;
  // Draws the tick's step from the text at `before` to where it is now.
  void paintStep(QPoint before);
  // The pixels that can differ between the text at `from` and at `to`.
  QRegion stepRegion(QPoint from, QPoint to);

  TRLabelStyle labelStyle_ = TRLabelStyle::rlRaised;
  TRDirection direction_ = TRDirection::rdRightToLeft;
  QString rText_ = QStringLiteral("Running label");
  int oneStep_ = 1;
  int steps_ = 192;
  int speed_ = 10;
  TColor color_ = colors::black;
  TColor colorH_ = 0x00FF0000;
  TColor colorS_ = 0x00FF0000;
  RunFont rFont_{QFont(QStringLiteral("System"), 10), colors::white};
  bool fitToWidth_ = false;
  QFont shownFont_ = rFont_.font;
  int depth_ = 1;
  int stepToView_ = 96;
  bool autoRewind_ = true;
  int position_ = 0;
  int tag_ = 0;
  bool designMode_ = false;

  QTimer timer_;
  bool timerEnabled_ = false;
  bool externalTicks_ = false;
  QSize textExtent_;  // the text's width and height in RFont, kept by UpdateMetrics
  // The text with its 3D layers on the background, cut into tiles that are drawn when they
  // come into view and dropped when they leave it: large glyphs are not cached by the painter
  // and would be outlined again on every tick, and a whole long text would not fit in memory.
  QRect textArea_;  // the ink of all layers around the text box, box corner at (0, 0)
  QMap<int, Tile> tiles_;
  QList<QGlyphRun> runs_;  // the text laid out in RFont, once the first tile needs it
  bool textPrepared_ = false;
  // Where the text stands in what the strip shows on screen, once all requested paints are
  // done; empty when that is not known, and the next tick then repaints the whole strip.
  std::optional<QPoint> shownAt_;
};

// The published form of the strip; the display's `RunLabel` is one.
class TRunLabel : public TRunString {
  Q_OBJECT

 public:
  using TRunString::TRunString;

 signals:
  void OnClick();
  void OnDblClick();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};
