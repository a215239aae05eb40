#include "widgets/forminfo.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <QUrl>

#include "platform/dialogs.h"
#include "platform/identity.h"
#include "widgets/appicon.h"

namespace {

const QColor kSilver(0xC0, 0xC0, 0xC0);

QFont dialogFont(int pixelSize, bool bold = false) {
  QFont font("Liberation Sans");
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

// A silver panel framed by two lowered bevels, one inside the other, each two pixels wide.
class LoweredPanel : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), kSilver);
    const QColor dark(0x80, 0x80, 0x80), light(Qt::white);
    for (int i = 0; i < 4; ++i) {
      const QRect r = rect().adjusted(i, i, -i - 1, -i - 1);
      p.setPen(dark);
      p.drawLine(r.topLeft(), r.topRight());
      p.drawLine(r.topLeft(), r.bottomLeft());
      p.setPen(light);
      p.drawLine(r.bottomLeft(), r.bottomRight());
      p.drawLine(r.topRight(), r.bottomRight());
    }
  }
};

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QRect& bounds,
                  Qt::Alignment alignment, const QFont& font) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setFont(font);
  label->setAlignment(alignment);
  label->setGeometry(bounds);
  return label;
}

}  // namespace

TFormInfo::TFormInfo(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      dialogs_(dialogs) {
  setObjectName("FormInfo");
  setWindowTitle(tr("Information"));
  setWindowIcon(applicationIcon());
  setFixedSize(256, 356);
  setAutoFillBackground(true);
  setPalette(QPalette(kSilver));
  setFont(dialogFont(11));

  Image1 = new QLabel(this);
  Image1->setObjectName("Image1");
  Image1->setGeometry(10, 4, 238, 65);
  Image1->setAlignment(Qt::AlignCenter);
  Image1->setPixmap(QPixmap::fromImage(infoBanner()));
  Image1->setCursor(Qt::PointingHandCursor);
  Image1->installEventFilter(this);

  Panel1 = new LoweredPanel(this);
  Panel1->setObjectName("Panel1");
  Panel1->setGeometry(8, 48, 38, 38);
  ImageICON = new QLabel(Panel1);
  ImageICON->setObjectName("ImageICON");
  ImageICON->setGeometry(3, 3, 32, 32);

  QFont titleFont("Arial");
  titleFont.setPixelSize(24);
  titleFont.setBold(true);
  titleFont.setUnderline(true);
  Label1 = makeLabel(this, "Label1", identity::kTitle, {72, 67, 176, 28},
                     Qt::AlignRight | Qt::AlignTop, titleFont);
  Label1->setStyleSheet("color: maroon;");
  // Sized to its text, it grows to the left and keeps its right edge under the title's.
  LabelVer = makeLabel(this, "LabelVer",
                       tr("Version %1 (%2)").arg(identity::kVersion, identity::kReleaseDate),
                       {108, 98, 140, 18}, Qt::AlignRight | Qt::AlignTop, dialogFont(15));
  LabelVer->adjustSize();
  LabelVer->move(Label1->geometry().right() + 1 - LabelVer->width(), LabelVer->y());

  sOK = new QToolButton(this);
  sOK->setObjectName("sOK");
  sOK->setGeometry(56, 277, 145, 28);
  sOK->setText(tr("Einverstanden"));
  sOK->setFont(dialogFont(15, true));
  sOK->setFocusPolicy(Qt::NoFocus);
  sOK->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  const QImage strip = agreeGlyphStrip();
  QIcon glyph;
  glyph.addPixmap(QPixmap::fromImage(strip.copy(0, 0, 16, 16)), QIcon::Normal);
  glyph.addPixmap(QPixmap::fromImage(strip.copy(16, 0, 16, 16)), QIcon::Disabled);
  sOK->setIcon(glyph);
  connect(sOK, &QToolButton::clicked, this, &QDialog::accept);

  Lab = makeLabel(this, "Lab", QString(), {8, 307, 238, 30}, Qt::AlignCenter, dialogFont(11));
  Lab->setWordWrap(true);

  QFont linkFont = dialogFont(12);
  linkFont.setUnderline(true);
  Label2 = makeLabel(this, "Label2", QUrl(identity::kContactUrl).host(), {55, 338, 137, 13},
                     Qt::AlignCenter, linkFont);
  Label2->setStyleSheet("color: blue;");
  Label2->setCursor(Qt::PointingHandCursor);
  Label2->setToolTip(identity::kContactUrl);
  Label2->installEventFilter(this);

  FormCreate();
}

void TFormInfo::FormCreate() {
  ImageICON->setPixmap(windowIcon().pixmap(32, 32));
  Lab->setText(
      tr("Lob und Kritik, Verbesserungsvorschläge,\n"
         "Fragen und Bestellungen bitte schriftlich über"));
}

void TFormInfo::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (parentWidget()) move(parentWidget()->frameGeometry().center() - rect().center());
}

// Only Escape closes; Enter and every other key do nothing (the button takes no focus).
void TFormInfo::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
    reject();
  else
    event->accept();
}

bool TFormInfo::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == Image1 || watched == Label2) && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    Image1Click();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TFormInfo::Image1Click() { dialogs_.openUrl(identity::kContactUrl); }

QImage infoBanner() {
  QImage image(238, 65, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);

  // A band of deep water with three waves at its left end and the maker's name.
  QLinearGradient water(0, 0, 238, 0);
  water.setColorAt(0, QColor(0x0b, 0x5e, 0x6e));
  water.setColorAt(1, QColor(0x12, 0x23, 0x4a));
  p.setPen(QPen(QColor(0x06, 0x1c, 0x2c), 1));
  p.setBrush(water);
  p.drawRoundedRect(QRectF(0.5, 0.5, 237, 40), 7, 7);
  p.setBrush(Qt::NoBrush);
  for (int i = 0; i < 3; ++i) {
    QPainterPath wave;
    const double y = 13 + i * 7;
    wave.moveTo(10, y);
    wave.cubicTo(16, y - 5, 22, y + 5, 28, y);
    wave.cubicTo(34, y - 5, 40, y + 5, 46, y);
    p.setPen(QPen(QColor(0x9f, 0xe8, 0xf0, 255 - 60 * i), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(wave);
  }
  QFont name("Liberation Sans");
  name.setPixelSize(22);
  name.setBold(true);
  name.setLetterSpacing(QFont::AbsoluteSpacing, 2);
  p.setFont(name);
  p.setPen(Qt::white);
  p.drawText(QRectF(52, 0, 182, 41), Qt::AlignVCenter | Qt::AlignLeft, "MERROWTIDE");

  // Below the band, right of the program's icon: what the maker does.
  QFont motto("Liberation Sans");
  motto.setPixelSize(11);
  motto.setItalic(true);
  p.setFont(motto);
  p.setPen(QColor(0x12, 0x23, 0x4a));
  p.drawText(QRectF(40, 44, 196, 16), Qt::AlignRight | Qt::AlignVCenter,
             TFormInfo::tr("Anzeigetafeln für die Sporthalle"));
  return image;
}

QImage agreeGlyphStrip() {
  QImage strip(32, 16, QImage::Format_ARGB32_Premultiplied);
  strip.fill(Qt::transparent);
  QPainter p(&strip);
  p.setRenderHint(QPainter::Antialiasing);
  const QPointF tick[] = {{2.5, 8.5}, {6.5, 12.5}, {13.5, 3.5}};
  const QColor colours[] = {QColor(0x00, 0x80, 0x00), QColor(0x80, 0x80, 0x80)};
  for (int state = 0; state < 2; ++state) {
    p.setPen(QPen(colours[state], 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(tick, 3);
    p.translate(16, 0);
  }
  return strip;
}
