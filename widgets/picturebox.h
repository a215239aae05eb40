#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>
#include <optional>

// Where a picture lands in a box: the largest size with its aspect ratio kept that fits the box
// (enlarged or reduced), centred. Empty when the picture or the box is empty.
QRect fitCentred(QSize image, QRect box);

// The picture with every pixel of the given colour made fully transparent.
QImage withoutColour(const QImage& image, QRgb colour);

// A picture element of the windows: the title picture, the team logos, the logo screen (fitted
// and centred) and the console's field picture (stretched). Where the picture does not cover
// the box, the parent shows through.
class PictureBox : public QWidget {
  Q_OBJECT

 public:
  explicit PictureBox(QWidget* parent = nullptr);

  const QImage& picture() const { return picture_; }
  void setPicture(const QImage& image);
  // Pixels of this colour are left out; none draws the picture opaque.
  std::optional<QRgb> transparentColour() const { return transparentColour_; }
  void setTransparentColour(std::optional<QRgb> colour);
  // Stretched to fill the whole box instead of keeping the aspect ratio.
  bool stretch() const { return stretch_; }
  void setStretch(bool on);

  // The rectangle the picture is drawn into, in widget coordinates.
  QRect pictureRect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void pictureChanged();

  QImage picture_;
  std::optional<QRgb> transparentColour_;
  bool stretch_ = false;
  QImage shown_;   // the picture with its transparent colour left out
  QImage scaled_;  // shown_ at the size last drawn, kept until that size or the picture changes
};
