#include "widgets/picturebox.h"

#include <QPainter>

QRect fitCentred(QSize image, QRect box) {
  if (image.isEmpty() || box.isEmpty()) return {};
  const qint64 iw = image.width(), ih = image.height();
  const qint64 bw = box.width(), bh = box.height();
  qint64 w = bw, h = bh;
  // Compare the aspect ratios without division: a relatively wider picture takes the full
  // width, any other the full height. A sliver of a picture keeps at least one pixel.
  if (iw * bh >= ih * bw)
    h = qMax<qint64>(1, ih * bw / iw);
  else
    w = qMax<qint64>(1, iw * bh / ih);
  return QRect(box.x() + int(bw - w) / 2, box.y() + int(bh - h) / 2, int(w), int(h));
}

QImage withoutColour(const QImage& image, QRgb colour) {
  QImage out = image.convertToFormat(QImage::Format_ARGB32);
  const QRgb opaque = colour | 0xFF000000u;
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x)
      if (line[x] == opaque) line[x] = 0;
  }
  return out;
}

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

void PictureBox::setPicture(const QImage& image) {
  if (image == picture_) return;
  picture_ = image;
  pictureChanged();
}

void PictureBox::setTransparentColour(std::optional<QRgb> colour) {
  if (colour == transparentColour_) return;
  transparentColour_ = colour;
  pictureChanged();
}

void PictureBox::setStretch(bool on) {
  if (on == stretch_) return;
  stretch_ = on;
  update();
}

QRect PictureBox::pictureRect() const {
  if (picture_.isNull()) return {};
  return stretch_ ? rect() : fitCentred(picture_.size(), rect());
}

void PictureBox::pictureChanged() {
  shown_ = transparentColour_ && !picture_.isNull() ? withoutColour(picture_, *transparentColour_)
                                                    : picture_;
  scaled_ = QImage();
  update();
}

void PictureBox::paintEvent(QPaintEvent*) {
  const QRect target = pictureRect();
  if (target.isEmpty()) return;
  if (scaled_.size() != target.size())
    scaled_ = shown_.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  QPainter(this).drawImage(target.topLeft(), scaled_);
}
