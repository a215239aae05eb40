#include "display/tablo.h"

#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPainter>
#include <QTimer>
#include <QWindow>
#include <utility>

#include "core/match.h"
#include "display/framemerrowtide.h"
#include "display/layout.h"
#include "display/teamlogo.h"
#include "platform/desktop.h"
#include "platform/picture.h"
#include "platform/platform.h"
#include "platform/programfolder.h"
#include "settings/settings.h"
#include "settings/settingsgroups.h"
#include "ticker/runstring.h"
#include "ticker/runtextview.h"
#include "widgets/appicon.h"
#include "widgets/label3d.h"
#include "widgets/picturebox.h"

namespace {

// A window manager that has put no frame around a window after 2 s puts none.
constexpr int kFramePollMs = 20;
constexpr int kFramePolls = 100;

constexpr Qt::WindowFlags kFullScreenFlags = Qt::Window | Qt::FramelessWindowHint;
// A sizeable window with system menu and maximise button but no minimise button.
constexpr Qt::WindowFlags kWindowModeFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;

template <typename T>
T* element(QWidget* parent, const char* name) {
  auto* widget = new T(parent);
  widget->setObjectName(name);
  return widget;
}

QFont arial(int charHeight, bool bold = true) {
  QFont font(QStringLiteral("Arial"));
  font.setBold(bold);
  return fontWithCharHeight(font, charHeight);
}

// A centred opaque label of the design.
void designLabel(Label* label, const QString& text, const QFont& font, TColor background) {
  label->setCaption(text);
  label->setFont(font);
  label->setFontColor(colors::white);
  label->setColor(background);
  label->setAlignment(Label::Alignment::Center);
  label->setTextLayout(Label::TextLayout::Center);
}

BevelPanel* panel(QWidget* parent, const char* name, TColor color, int bevelWidth) {
  auto* p = element<BevelPanel>(parent, name);
  p->setColor(color);
  p->setBevelWidth(bevelWidth);
  p->hide();
  return p;
}

// Shows a team's logo picture, or else its logo text, or neither.
void showTeamLogo(const TeamLogo& logo, PictureBox* picture, TLabel3D* text) {
  picture->hide();
  text->hide();
  switch (logo.kind) {
    case TeamLogo::Kind::Picture:
      picture->setPicture(logo.picture);
      picture->setTransparentColour(logo.transparentColour);
      picture->show();
      break;
    case TeamLogo::Kind::Text:
      text->setCaption(logo.text);
      text->show();
      break;
    case TeamLogo::Kind::None:
      break;
  }
}

// The label's text as drawn, in the label's font.
FittedText fittedText(const Label* label) {
  return {label->showAccelChar() ? textWithoutAccelerators(label->caption()) : label->caption(),
          label->font()};
}

}  // namespace

BevelPanel::BevelPanel(QWidget* parent) : QWidget(parent) {}

void BevelPanel::setColor(TColor c) {
  if (c == color_) return;
  color_ = c;
  update();
}

void BevelPanel::setBevelWidth(int width) {
  if (width == bevelWidth_) return;
  bevelWidth_ = width;
  update();
}

void BevelPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), toQColor(color_));
  const QColor light = toQColor(colors::btnHighlight);
  const QColor dark = toQColor(colors::btnShadow);
  // Ring i runs along the edges i pixels in; the dark edges take the top-right and
  // bottom-left corners.
  for (int i = 0; i < bevelWidth_; ++i) {
    const QRect r = rect().adjusted(i, i, -i, -i);
    painter.setPen(light);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(dark);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
  }
}

TFormTablo::TFormTablo(Platform& platform, const Settings& settings, const Match& match,
                       QWidget* parent)
    : QWidget(parent, kWindowModeFlags),
      platform_(platform),
      settings_(settings),
      match_(match),
      ppi_(platform.desktop.logicalPpi()) {
  setObjectName("FormTablo");
  setWindowIcon(applicationIcon());
  limitOuterSize();
  setFont(arial(40));
  setAutoFillBackground(true);
  setColor(colors::black);
  move(1023, 246);  // outer position and client size of the design
  resize(408, 331);
  createElements();
  runText_ = std::make_unique<RunTextView>(*RunLabel);
  connect(RunLabel, &TRunString::OnEnd, this, &TFormTablo::runTextEnded);
  frameWatch_ = new QTimer(this);
  frameWatch_->setInterval(kFramePollMs);
  connect(frameWatch_, &QTimer::timeout, this, &TFormTablo::coverOnceFramed);
  FormCreate();
  FormResize();
  connect(&match_, &Match::changed, this, &TFormTablo::render);
  connect(&settings_, &Settings::changed, this, &TFormTablo::applySettings);
  connect(&settings_, &Settings::configured, this, &TFormTablo::takeConfiguration);
  connect(&settings_, &Settings::configuredInPart, this, &TFormTablo::ApplyTitle);
}

TFormTablo::~TFormTablo() = default;

void TFormTablo::createElements() {
  Label4 = element<Label>(this, "Label4");
  designLabel(Label4, "0 - 0", arial(88), colors::navy);
  Label2 = element<Label>(this, "Label2");
  designLabel(Label2, "45:00", arial(60), colors::navy);
  // A clock cut at both sides shows a wrong time: on a narrow display it is drawn smaller.
  Label2->setShrinkToWidth(true);
  Label1 = element<Label>(this, "Label1");
  designLabel(Label1, "TITEL", arial(40), colors::black);
  Label5 = element<Label>(this, "Label5");
  designLabel(Label5, "1", arial(44, false), colors::navy);
  Label5->hide();

  Image1 = element<PictureBox>(this, "Image1");
  Image1->hide();

  RunLabel = element<TRunLabel>(this, "RunLabel");
  RunLabel->setRFont({arial(20), colors::yellow});
  RunLabel->setColor(colors::black);
  // The raised relief is drawn in black, not in the component's blue.
  RunLabel->setColorH(colors::black);
  RunLabel->setColorS(colors::black);
  RunLabel->hide();

  Logo1 = element<PictureBox>(this, "Logo1");
  Logo2 = element<PictureBox>(this, "Logo2");
  LabelLogo1 = element<TLabel3D>(this, "LabelLogo1");
  LabelLogo2 = element<TLabel3D>(this, "LabelLogo2");
  for (TLabel3D* label : {LabelLogo1, LabelLogo2}) {
    designLabel(label, QString(), arial(40), colors::black);
    label->setFontColor(colors::lime);
    label->setTransparent(true);
    label->setBevel(TLabel3DBevel::blNone);
    label->hide();
  }

  Label3 = element<TLabel3D>(this, "Label3");
  designLabel(Label3, "HEIM - GAST", arial(40), colors::black);
  Label3->setBevel(TLabel3DBevel::blNone);

  LabelStraf1a = element<TLabel3D>(this, "LabelStraf1a");
  LabelStraf1b = element<TLabel3D>(this, "LabelStraf1b");
  LabelStraf2a = element<TLabel3D>(this, "LabelStraf2a");
  LabelStraf2b = element<TLabel3D>(this, "LabelStraf2b");
  for (TLabel3D* label : {LabelStraf1a, LabelStraf1b, LabelStraf2a, LabelStraf2b}) {
    designLabel(label, "2:00", font(), colors::black);
    label->setTransparent(true);
    label->setBevel(TLabel3DBevel::blShadow);
    label->setShadowColor(colors::black);
  }

  LabelData = element<Label>(this, "LabelData");
  LabelData->setFont(arial(20));
  LabelData->setFontColor(colors::red);
  LabelData->setTransparent(true);
  LabelData->setAlignment(Label::Alignment::RightJustify);
  LabelData->setTextLayout(Label::TextLayout::Center);
  LabelData->hide();

  PanelPause = panel(this, "PanelPause", colors::navy, 1);
  PanelPauseRed = panel(PanelPause, "PanelPauseRed", colors::red, 2);
  PanelPauseRed->show();
  PanelLogo = panel(this, "PanelLogo", colors::black, 0);
  Logo = element<PictureBox>(PanelLogo, "Logo");
  FrameMerrowtide1 = new TFrameMerrowtide(ppi_, this);
  FrameMerrowtide1->setObjectName("FrameMerrowtide1");
  PanelBlack = panel(this, "PanelBlack", colors::black, 0);
}

void TFormTablo::FormCreate() {
  LabelData->setCaption(QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
  LabelData->show();
  PanelBlack->setGeometry(rect());
  applyFonts();
  loadLogoScreen();
  render();
  ApplyTitle();
  LoadTeamLogos();
  setCursor(Qt::BlankCursor);
}

void TFormTablo::setColor(TColor c) {
  color_ = c;
  QPalette p = palette();
  p.setColor(QPalette::Window, toQColor(c));
  setPalette(p);
}

void TFormTablo::ApplyColors() {
  const auto& c = settings_.record().C;
  setColor(c[0]);
  Label1->setColor(c[1]);
  Label2->setColor(c[2]);
  Label3->setColor(c[3]);
  Label4->setColor(c[4]);
  PanelPause->setColor(Label4->color());
  RunLabel->setColor(color());
  Label5->setColor(Label2->color());
  if (std::exchange(countdownShown_, false)) renderClockBand(view().band);
}

// The element fonts' faces, styles and colours; their sizes come from the layout.
void TFormTablo::applyFonts() {
  const auto& fonts = settings_.record().Fonts;
  const auto styled = [](QFont font, const ElementFont& element) {
    if (!element.face.isEmpty()) font.setFamily(element.face);
    StyleFromBits(font, element.style);
    return font;
  };
  const std::array<Label*, 4> labels{Label1, Label2, Label3, Label4};
  for (int n = 0; n < 4; ++n) {
    labels[n]->setFont(styled(labels[n]->font(), fonts[n]));
    labels[n]->setFontColor(fonts[n].color);
  }
  const RunFont& run = RunLabel->RFont();
  RunLabel->setRFont({styled(run.font, fonts[4]), fonts[4].color});
  if (std::exchange(countdownShown_, false)) renderClockBand(view().band);
}

void TFormTablo::resetBaseFont() {
  // Arial bold in white; each element keeps the size the layout gave it.
  const auto base = [](QFont font) {
    font.setFamily(QStringLiteral("Arial"));
    StyleFromBits(font, 1);
    return font;
  };
  setFont(base(font()));
  Label5->setFont(base(Label5->font()));
  Label5->setFontColor(kPeriodTextColour);
  FormResize();
}

BoardView TFormTablo::view() const {
  return boardView(match_.state(), match_.sport(), settings_.record());
}

void TFormTablo::render() {
  const BoardView board = view();
  renderClockBand(board.band);
  Label4->setCaption(board.scoreText);
  Label5->setCaption(QString::number(board.period));
  Label5->setVisible(board.periodShown);
  const std::array<TLabel3D*, 4> penalties{LabelStraf1a, LabelStraf1b, LabelStraf2a, LabelStraf2b};
  for (int i = 0; i < 4; ++i) {
    penalties[i]->setCaption(board.place(i).text);
    penalties[i]->setFontColor(board.place(i).colour);
  }
  if (board.teams[0].fouls.has_value() != shown_.teams[0].fouls.has_value())
    applyPenaltyFonts(board);
  Label3->setCaption(board.names);
  Label1->setCaption(board.title);
  PanelPause->setVisible(board.pauseSign);
  // A screen that comes on covers whatever was shown before.
  PanelLogo->setVisible(board.logoScreen);
  if (board.logoScreen && !shown_.logoScreen) PanelLogo->raise();
  PanelBlack->setVisible(board.blackScreen);
  if (board.blackScreen && !shown_.blackScreen) PanelBlack->raise();
  runText_->show(board.runText, board.runTextSpeed);
  shown_ = board;
}

void TFormTablo::renderClockBand(const ClockBand& band) {
  if (band.countdown || countdownShown_) {
    Label2->setColor(band.background);
    Label2->setFontColor(band.textColour);
  }
  countdownShown_ = band.countdown;
  Label2->setCaption(band.text);
  Label2->setVisible(band.visible);
}

void TFormTablo::applySettings(const TSettings& before) {
  const TSettings& s = settings_.record();
  if (s.C != before.C) ApplyColors();
  if (s.Fonts != before.Fonts) applyFonts();
  if (s.Speed != before.Speed) RunLabel->setOneStep(s.Speed);
  if (s.TitelType != before.TitelType || s.TitelType2 != before.TitelType2) ApplyTitle();
  render();
  // The view, the team logos, the monitor and the screen mode wait for a confirmed
  // configuration (takeConfiguration): a refused one leaves the display's layout as it was.
  if (s.CNames != before.CNames || s.Title != before.Title || s.Fonts != before.Fonts) FormResize();
}

void TFormTablo::takeConfiguration(bool monitorChanged) {
  // The title picture is read again like the logos: its file may have appeared since.
  ApplyTitle();
  LoadTeamLogos();
  FormResize();
  ApplyScreenMode();
  // After the screen mode, so that a window leaving full screen covers the monitor with its
  // new frame.
  if (monitorChanged) coverMonitor();
}

void TFormTablo::coverMonitor() {
  const QRect monitor = selectedMonitor();
  coverWhenFramed_.reset();
  if (windowFlags() & Qt::FramelessWindowHint) {
    setGeometry(monitor);
    return;
  }
  const std::optional<QSize> frame = windowFrame(monitor);
  coverWithFrame(monitor, frame.value_or(QSize(0, 0)));
  if (frame) return;
  // A window just given its frame does not know it yet: the window manager draws it a moment
  // later, and often without moving the client area, so no event tells. The monitor is covered
  // again once the frame is known.
  coverWhenFramed_ = monitor;
  framePolls_ = 0;
  frameWatch_->start();
}

std::optional<QSize> TFormTablo::windowFrame(const QRect& monitor) const {
  return plausibleFrame(frameGeometry().size() - size(), monitor.size());
}

void TFormTablo::coverOnceFramed() {
  if (++framePolls_ > kFramePolls) {
    frameWatch_->stop();
    coverWhenFramed_.reset();
    return;
  }
  const std::optional<QSize> frame = windowFrame(coverWhenFramed_.value_or(selectedMonitor()));
  if (!frame) return;
  // The frame came without an event: the maker's mark takes its height from the outer window.
  if (outerSize() != laidOutOuter_) FormResize();
  // A monitor to cover is watched until the frame covers it exactly.
  if (!coverWhenFramed_ || frameGeometry() == *coverWhenFramed_) {
    frameWatch_->stop();
    coverWhenFramed_.reset();
    return;
  }
  coverWithFrame(*coverWhenFramed_, *frame);
}

void TFormTablo::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // A window shown with a frame gets it a moment later, and often without an event.
  if (windowFlags() & Qt::FramelessWindowHint || frameWatch_->isActive()) return;
  framePolls_ = 0;
  frameWatch_->start();
}

void TFormTablo::coverWithFrame(const QRect& monitor, const QSize& frame) {
  // move() places the frame's corner.
  move(monitor.topLeft());
  resize(monitor.size() - frame);
}

QSize TFormTablo::outerSize() const {
  // A borderless window's outer size is its client size, whatever frame the system reports.
  return windowFlags() & Qt::FramelessWindowHint ? size() : frameGeometry().size();
}

void TFormTablo::FitFont(Label* label) {
  const FittedText t = fittedText(label);
  const int points = ::FitFont(t.text, label->size(), t.font, ppi_);
  label->setFont(fontWithPointSize(label->font(), points, ppi_));
}

void TFormTablo::FormResize() {
  LayoutInput in;
  in.width = width();
  in.height = height();
  const QSize outer = outerSize();
  laidOutOuter_ = outer;
  in.outerWidth = outer.width();
  in.outerHeight = outer.height();
  in.view = settings_.view();
  in.ppi = ppi_;
  in.title = fittedText(Label1);
  in.names = fittedText(Label3);
  in.score = fittedText(Label4);
  in.date = fittedText(LabelData);
  in.score0 = Label4->geometry();
  in.period0 = Label5->geometry();
  const TabloLayout l = layoutTablo(in);

  auto setPoints = [this](QWidget* w, int points) {
    w->setFont(fontWithPointSize(w->font(), points, ppi_));
  };
  PanelLogo->setGeometry(l.panelLogo);
  Logo->setGeometry(PanelLogo->rect());
  PanelBlack->setGeometry(rect());
  Label3->setVisible(l.namesVisible);
  FrameMerrowtide1->setGeometry(l.frame);
  setPoints(this, l.basePoints);
  Label1->setGeometry(l.label1);
  setPoints(Label1, l.titlePoints);
  LabelData->setGeometry(l.labelData);
  setPoints(LabelData, l.datePoints);

  if (l.bands) {
    const Bands& b = *l.bands;
    Label2->setGeometry(b.label2);
    Label2->setFont(fontWithCharHeight(Label2->font(), b.clockCharHeight));
    Label3->setGeometry(b.label3);
    setPoints(Label3, b.namesPoints);
    Label4->setGeometry(b.label4);
    Label5->setGeometry(b.label5);
    Image1->setGeometry(b.image1);
    Logo1->setGeometry(b.logo1);
    Logo2->setGeometry(b.logo2);
    LabelLogo1->setGeometry(b.labelLogo1);
    LabelLogo2->setGeometry(b.labelLogo2);
    setPoints(LabelLogo1, b.logoTextPoints);
    setPoints(LabelLogo2, b.logoTextPoints);
    raiseLogoTexts();
  }

  setPoints(Label4, l.scorePoints);
  setPoints(Label5, l.periodPoints);
  const RunFont& run = RunLabel->RFont();
  RunLabel->setRFont({fontWithPointSize(run.font, l.runPoints, ppi_), run.color});
  RunLabel->setGeometry(l.runLabel);

  penaltyFont_ = fontWithPointSize(font(), l.penaltyPoints, ppi_);
  const std::pair<TLabel3D*, QRect> penalties[] = {{LabelStraf1a, l.straf1a},
                                                   {LabelStraf1b, l.straf1b},
                                                   {LabelStraf2a, l.straf2a},
                                                   {LabelStraf2b, l.straf2b}};
  for (const auto& [label, bounds] : penalties) {
    label->setGeometry(bounds);
    label->setVisible(l.penaltiesVisible);
  }
  applyPenaltyFonts(view());

  PanelPause->setGeometry(l.panelPause);
  PanelPauseRed->setGeometry(l.panelPauseRed);
  setWindowTitle(l.caption);
}

// The penalty times in the layout's font; a slot that shows fouls in one that fits 88 fouls into
// the slot, as the time's font would be cut at both ends.
void TFormTablo::applyPenaltyFonts(const BoardView& board) {
  const std::array<TLabel3D*, 4> labels{LabelStraf1a, LabelStraf1b, LabelStraf2a, LabelStraf2b};
  for (int i = 0; i < 4; ++i) {
    QFont f = penaltyFont_;
    if (board.place(i).state == BoardSlot::Fouls)
      f = fontWithCharHeight(
          f, fitCharHeightToWidth(foulsText(88), f, f.pixelSize(), labels[i]->width()));
    labels[i]->setFont(f);
  }
}

void TFormTablo::raiseLogoTexts() {
  // Children are kept in stacking order; the first windowed element bounds the labels.
  const QList<QWidget*> windowed = {PanelPause, PanelLogo, FrameMerrowtide1, PanelBlack};
  for (QObject* child : children()) {
    auto* w = qobject_cast<QWidget*>(child);
    if (!windowed.contains(w)) continue;
    LabelLogo1->stackUnder(w);
    LabelLogo2->stackUnder(w);
    return;
  }
}

QRect TFormTablo::selectedMonitor() const {
  const QList<QRect> monitors = platform_.desktop.monitorBounds();
  if (monitors.isEmpty()) return geometry();
  return monitors[validMonitorIndex(settings_.record().Monitor, monitors.size())];
}

void TFormTablo::ApplyScreenMode() {
  const bool shown = isVisible();
  if (settings_.record().FullScr) {
    coverWhenFramed_.reset();
    if (windowFlags() != kFullScreenFlags) setWindowFlags(kFullScreenFlags);
    // The size limits still cap the window, anchored at the monitor's top left corner.
    setGeometry(selectedMonitor());
  } else if (windowFlags() != kWindowModeFlags) {
    const QPoint topLeft = pos();
    const QSize client = size();
    setWindowFlags(kWindowModeFlags);
    move(topLeft);
    resize(client);
  }
  if (shown) show();
  limitOuterSize();
}

void TFormTablo::showOnItsMonitor() {
  const bool unmapped = windowHandle() && !windowHandle()->isExposed();
  if (!isVisible() || isMinimized() || unmapped) {
    hide();
    ApplyScreenMode();
    showNormal();
  }
  raise();
}

void TFormTablo::limitWidth(int pixels) { setMaximumWidth(pixels > 0 ? pixels : QWIDGETSIZE_MAX); }

void TFormTablo::limitHeight(int pixels) {
  setMaximumHeight(pixels > 0 ? pixels : QWIDGETSIZE_MAX);
}

void TFormTablo::placeLeft(int offset) { move(selectedMonitor().x() + offset, y()); }

void TFormTablo::placeTop(int offset) { move(x(), selectedMonitor().y() + offset); }

void TFormTablo::ApplyTitle() {
  const TSettings& settings = settings_.record();
  if (settings.TitelType == 1) {
    Image1->hide();
  } else if (settings.TitelType == 2) {
    const QImage picture = loadPicture(settings.TitelType2, largestPictureSize());
    if (!picture.isNull()) {
      Image1->setPicture(picture);
      Image1->show();
    }
  }
  Label1->setVisible(Image1->isHidden());
}

void TFormTablo::LoadTeamLogos() {
  const QString dir = QDir::currentPath();
  const QSize largest = largestPictureSize();
  showTeamLogo(findTeamLogo(dir, settings_.record().Comanda1, largest), Logo1, LabelLogo1);
  showTeamLogo(findTeamLogo(dir, settings_.record().Comanda2, largest), Logo2, LabelLogo2);
}

// No element is larger than the window, which full screen makes a monitor's size.
QSize TFormTablo::largestPictureSize() const {
  return largestShownSize(size(), platform_.desktop.monitorBounds());
}

void TFormTablo::loadLogoScreen() {
  const QString file = programFile("jpg");
  if (!QFileInfo::exists(file)) return;
  const QImage picture = loadPicture(file, largestPictureSize());
  if (picture.isNull()) return;
  Logo->setPicture(picture);
  hasLogoScreen_ = true;
}

void TFormTablo::takeStoredPlace(const DisplayGroup& stored) {
  // Colours read only in part stay in the record but leave the design colours on screen.
  if (stored.colorsComplete()) ApplyColors();
  if (const std::optional<qint32> w = stored.integer("Wt")) resize(*w, height());
  if (const std::optional<qint32> h = stored.integer("Ht")) resize(width(), *h);
  if (const std::optional<qint32> x = stored.integer("Xt")) move(*x, this->y());
  if (const std::optional<qint32> y = stored.integer("Yt")) move(this->x(), *y);
}

void TFormTablo::FormActivate() { emit activated(); }

void TFormTablo::limitOuterSize() {
  setMinimumSize(leastClientSize(frameGeometry().size() - size(), selectedMonitor().size()));
}

// The window system reports the frame once it has put one around the window, which moves the
// client area.
void TFormTablo::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  limitOuterSize();
  emit placeChanged(size(), pos());
}

void TFormTablo::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FormResize();
  emit placeChanged(size(), pos());
}

void TFormTablo::closeEvent(QCloseEvent* event) {
  if (!FormCloseQuery()) event->ignore();
}

void TFormTablo::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
  QWidget::changeEvent(event);
}
