#include "config/cfgdialog.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "config/periodlength.h"
#include "config/teamsfile.h"
#include "core/sportrules.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/platform.h"

namespace {

constexpr int kDefaultView = 1;  // "Quillo2"
constexpr int kFontPickerPoints = 18;
constexpr char kUnfilledTime[] =
    QT_TRANSLATE_NOOP("TCfgDialog", "Invalid input value.  Use escape key to abandon changes");

QLabel* label(const QString& text, QWidget* parent) { return new QLabel(text, parent); }

QFont fontOf(const ElementFont& element, int points) {
  QFont font(element.face, points);
  StyleFromBits(font, element.style);
  return font;
}

}  // namespace

ColorPanel::ColorPanel(int tag, QWidget* parent) : QFrame(parent), Tag(tag) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setFixedSize(34, 21);
}

void ColorPanel::setColor(TColor c) {
  if (c == color_) return;
  color_ = c;
  update();
}

void ColorPanel::paintEvent(QPaintEvent* event) {
  QPainter(this).fillRect(contentsRect(), toQColor(color_));
  QFrame::paintEvent(event);
}

void ColorPanel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit clicked();
  }
}

SpinEdit::SpinEdit(int minimum, int maximum, int maxDigits, QWidget* parent)
    : QSpinBox(parent), maxDigits_(maxDigits) {
  setRange(minimum, maximum);
  setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

QValidator::State SpinEdit::validate(QString& text, int&) const {
  static const QRegularExpression number(QStringLiteral("^-?[0-9]*$"));
  if (!number.match(text).hasMatch() || text.size() > maxDigits_ + (text.startsWith(u'-'))) {
    return QValidator::Invalid;
  }
  bool ok = false;
  const int v = text.toInt(&ok);
  return ok && v >= minimum() && v <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
}

void SpinEdit::fixup(QString& text) const {
  bool ok = false;
  const int v = text.toInt(&ok);
  text = QString::number(ok ? std::clamp(v, minimum(), maximum()) : minimum());
}

TCfgDialog::TCfgDialog(Platform& platform, const QString& programFolder, QWidget* parent)
    : QDialog(parent),
      platform_(platform),
      programFolder_(programFolder),
      pictureFolder_(programFolder) {
  setObjectName("CfgDialog");
  setWindowTitle(tr("Einstellungen"));
  createControls();
  fontColorPanels_ = {cbColorF1, cbColorF2, cbColorF3, cbColorF4, cbColorFRS};
}

QFrame* TCfgDialog::createLineRow(const QString& caption, int tag, ColorPanel*& background,
                                  QPushButton*& fontButton, ColorPanel*& fontColor) {
  auto* row = new QFrame(this);
  row->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  background = new ColorPanel(tag, row);
  fontButton = new QPushButton(tr("Schrift"), row);
  fontColor = new ColorPanel(-1, row);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(6, 1, 6, 1);
  auto* text = label(caption, row);
  text->setMinimumWidth(70);
  layout->addWidget(text);
  layout->addWidget(background);
  layout->addStretch();
  layout->addWidget(fontButton);
  layout->addWidget(fontColor);
  return row;
}

void TCfgDialog::createControls() {
  meTime = new QLineEdit(this);
  meTime->setInputMask("99:99;_");
  meTime->setToolTip(tr("MM:SS"));
  meTime->setMaximumWidth(60);
  bComanda1 = new QToolButton(this);
  bComanda1->setArrowType(Qt::DownArrow);
  eNames = new QLineEdit(tr("HEIM - GAST"), this);
  bComanda2 = new QToolButton(this);
  bComanda2->setArrowType(Qt::DownArrow);
  cbColor0 = new ColorPanel(0, this);
  seVid = new QComboBox(this);
  seVid->addItems({"Quillo1", "Quillo2", "Varnesk1", "Varnesk2"});
  // The sport's preset; choosing one offers its period and break lengths.
  cbSport = new QComboBox(this);
  const std::pair<const char*, const char*> sports[] = {{"standard", QT_TR_NOOP("Standard")},
                                                        {"handball", QT_TR_NOOP("Handball")},
                                                        {"floorball", QT_TR_NOOP("Floorball")},
                                                        {"icehockey", QT_TR_NOOP("Eishockey")},
                                                        {"futsal", QT_TR_NOOP("Futsal")}};
  for (const auto& [name, caption] : sports) cbSport->addItem(tr(caption), QString(name));
  meBreak = new QLineEdit(this);
  meBreak->setInputMask("99:99;_");
  meBreak->setToolTip(tr("MM:SS"));
  meBreak->setMaximumWidth(60);
  connect(cbSport, &QComboBox::activated, this, [this] {
    if (const auto sport = SportRules::preset(cbSport->currentData().toString())) {
      meTime->setText(periodLengthText(sport->periodLength));
      meBreak->setText(periodLengthText(sport->breakLength));
      cbNoWarning->setChecked(!sport->warningByDefault);
    }
  });

  gb1 = createLineRow(tr("Titel:"), 1, cbColor1, bFont1, cbColorF1);
  gb2 = createLineRow(tr("Zeit:"), 2, cbColor2, bFont2, cbColorF2);
  gb3 = createLineRow(tr("Namen:"), 3, cbColor3, bFont3, cbColorF3);
  gb4 = createLineRow(tr("Spielstand:"), 4, cbColor4, bFont4, cbColorF4);

  gbZeilen = new QGroupBox(" Lauftext.txt ", this);
  seRunSpeed = new SpinEdit(1, 5, 1, gbZeilen);
  seRunSpeed->setValue(3);
  Button1 = new QPushButton(tr("Schrift"), gbZeilen);
  cbColorFRS = new ColorPanel(-1, gbZeilen);
  auto* runRow = new QHBoxLayout(gbZeilen);
  runRow->setContentsMargins(6, 2, 6, 2);
  runRow->addWidget(label(tr("Geschwindig.:"), gbZeilen));
  runRow->addWidget(seRunSpeed);
  runRow->addStretch();
  runRow->addWidget(Button1);
  runRow->addWidget(cbColorFRS);

  gbTitle = new QGroupBox(tr(" Titel "), this);
  RadioButton1 = new QRadioButton(tr("Text "), gbTitle);
  RadioButton1->setChecked(true);
  eTitle = new QLineEdit(tr("SPIELTITEL"), gbTitle);
  RadioButton2 = new QRadioButton(tr("Logo "), gbTitle);
  eTitleFile = new FileComboBox(gbTitle);
  eTitleFile->setEditable(true);
  eTitleFile->setInsertPolicy(QComboBox::NoInsert);
  auto* titleGrid = new QGridLayout(gbTitle);
  titleGrid->addWidget(RadioButton1, 0, 0);
  titleGrid->addWidget(eTitle, 0, 1);
  titleGrid->addWidget(RadioButton2, 1, 0);
  titleGrid->addWidget(eTitleFile, 1, 1);

  gbSound = new QGroupBox(tr(" Musik am Ende des Spiels "), this);
  eSound = new QLineEdit(gbSound);
  bSound = new QToolButton(gbSound);
  bSound->setText("...");
  cbSound = new QCheckBox(tr("Endlosschleife"), gbSound);
  cbNoWarning = new QCheckBox(tr("kein Warnton"), gbSound);
  seSoundTime = new SpinEdit(0, 300, 3, gbSound);
  seSoundTime->setValue(60);
  seSoundTime->setToolTip(tr("Sek."));
  auto* soundGrid = new QGridLayout(gbSound);
  soundGrid->addWidget(eSound, 0, 0, 1, 2);
  soundGrid->addWidget(bSound, 0, 2);
  soundGrid->addWidget(cbSound, 1, 0, 1, 3);
  soundGrid->addWidget(seSoundTime, 2, 0);
  soundGrid->addWidget(label(tr("Sekunden bis zum Ende"), gbSound), 2, 1, 1, 2);
  soundGrid->addWidget(cbNoWarning, 3, 0, 1, 3);

  gbMonitor = new QGroupBox(tr(" 2. Monitor/TV/Orvalis-Display "), this);
  cbMonitor = new QComboBox(gbMonitor);
  cbMonitor->addItem(tr("nicht angeschlossen"));
  cbMonitor->setEnabled(false);
  cbFullScreen = new QCheckBox(tr("Vollbildschirm "), gbMonitor);
  cbFullScreen->setChecked(true);
  auto* monitorBox = new QVBoxLayout(gbMonitor);
  monitorBox->addWidget(cbMonitor);
  monitorBox->addWidget(cbFullScreen);

  bDefault2 = new QPushButton(tr("Default"), this);
  bCancel = new QPushButton(tr("Abbrechen"), this);
  OKBtn = new QPushButton(tr("OK"), this);
  OKBtn->setDefault(true);

  // The team list lies over the left column when a team button opens it.
  ListBox1 = new QListWidget(this);
  ListBox1->hide();

  auto* timeRow = new QHBoxLayout;
  timeRow->addWidget(label(tr("Spieldauer:"), this));
  timeRow->addWidget(meTime);
  timeRow->addStretch();
  timeRow->addWidget(label(tr("Sportart:"), this));
  timeRow->addWidget(cbSport);
  auto* namesRow = new QHBoxLayout;
  namesRow->addWidget(label(tr("Teams:"), this));
  namesRow->addWidget(bComanda1);
  namesRow->addWidget(eNames, 1);
  namesRow->addWidget(bComanda2);
  auto* viewRow = new QHBoxLayout;
  viewRow->addWidget(label(tr("Display:"), this));
  viewRow->addWidget(cbColor0);
  viewRow->addStretch();
  viewRow->addWidget(label(tr("Ansicht:"), this));
  viewRow->addWidget(seVid);
  auto* left = new QVBoxLayout;
  left->addLayout(timeRow);
  left->addLayout(namesRow);
  left->addLayout(viewRow);
  for (QWidget* w : std::initializer_list<QWidget*>{gb1, gb2, gb3, gb4, gbZeilen})
    left->addWidget(w);
  auto* breakRow = new QHBoxLayout;
  breakRow->addWidget(label(tr("Pause zwischen den Perioden:"), this));
  breakRow->addWidget(meBreak);
  breakRow->addStretch();
  left->addLayout(breakRow);
  left->addStretch();
  auto* right = new QVBoxLayout;
  for (QWidget* w : {gbTitle, gbSound, gbMonitor}) right->addWidget(w);
  right->addStretch();
  auto* columns = new QHBoxLayout;
  columns->addLayout(left, 1);
  columns->addLayout(right, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(bDefault2);
  buttons->addStretch();
  buttons->addWidget(bCancel);
  buttons->addWidget(OKBtn);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 6, 8, 8);
  layout->setSpacing(4);
  left->setSpacing(3);
  right->setSpacing(3);
  layout->addLayout(columns);
  layout->addLayout(buttons);
  setFont(QFont("Arial", 8));
  setFixedSize(564, 335);

  // Object names as the controls are called, so tests and scripts find them.
  const std::pair<QWidget*, const char*> names[] = {{meTime, "meTime"},
                                                    {bComanda1, "bComanda1"},
                                                    {eNames, "eNames"},
                                                    {bComanda2, "bComanda2"},
                                                    {ListBox1, "ListBox1"},
                                                    {cbColor0, "cbColor0"},
                                                    {seVid, "seVid"},
                                                    {cbSport, "cbSport"},
                                                    {meBreak, "meBreak"},
                                                    {gb1, "gb1"},
                                                    {gb2, "gb2"},
                                                    {gb3, "gb3"},
                                                    {gb4, "gb4"},
                                                    {cbColor1, "cbColor1"},
                                                    {cbColor2, "cbColor2"},
                                                    {cbColor3, "cbColor3"},
                                                    {cbColor4, "cbColor4"},
                                                    {bFont1, "bFont1"},
                                                    {bFont2, "bFont2"},
                                                    {bFont3, "bFont3"},
                                                    {bFont4, "bFont4"},
                                                    {cbColorF1, "cbColorF1"},
                                                    {cbColorF2, "cbColorF2"},
                                                    {cbColorF3, "cbColorF3"},
                                                    {cbColorF4, "cbColorF4"},
                                                    {gbZeilen, "gbZeilen"},
                                                    {seRunSpeed, "seRunSpeed"},
                                                    {Button1, "Button1"},
                                                    {cbColorFRS, "cbColorFRS"},
                                                    {gbTitle, "gbTitle"},
                                                    {RadioButton1, "RadioButton1"},
                                                    {eTitle, "eTitle"},
                                                    {RadioButton2, "RadioButton2"},
                                                    {eTitleFile, "eTitleFile"},
                                                    {gbSound, "gbSound"},
                                                    {eSound, "eSound"},
                                                    {bSound, "bSound"},
                                                    {cbSound, "cbSound"},
                                                    {cbNoWarning, "cbNoWarning"},
                                                    {seSoundTime, "seSoundTime"},
                                                    {gbMonitor, "gbMonitor"},
                                                    {cbMonitor, "cbMonitor"},
                                                    {cbFullScreen, "cbFullScreen"},
                                                    {bDefault2, "bDefault2"},
                                                    {bCancel, "bCancel"},
                                                    {OKBtn, "OKBtn"}};
  for (const auto& [widget, name] : names) widget->setObjectName(name);

  // The "Schrift" buttons are captioned in white bold Arial, on a dark face to be legible.
  QFont captionFont("Arial", 8);
  captionFont.setBold(true);
  for (QPushButton* b : {bFont1, bFont2, bFont3, bFont4, Button1}) {
    b->setFont(captionFont);
    QPalette palette = b->palette();
    palette.setColor(QPalette::ButtonText, Qt::white);
    palette.setColor(QPalette::Button, QColor(96, 96, 96));
    b->setPalette(palette);
  }

  for (ColorPanel* panel : {cbColor0, cbColor1, cbColor2, cbColor3, cbColor4, cbColorF1, cbColorF2,
                            cbColorF3, cbColorF4, cbColorFRS}) {
    connect(panel, &ColorPanel::clicked, this, [this, panel] { cbColor1Click(panel); });
  }
  const std::pair<QPushButton*, int> fontButtons[] = {
      {bFont1, 1}, {bFont2, 2}, {bFont3, 3}, {bFont4, 4}, {Button1, 5}};
  // Plain members, not a structured binding: clang 14 (the fuzz build) cannot capture those.
  for (const auto& fontButton : fontButtons) {
    const int tag = fontButton.second;
    connect(fontButton.first, &QPushButton::clicked, this, [this, tag] { bFontClick(tag); });
  }
  connect(bComanda1, &QToolButton::clicked, this, [this] { bComandaClick(1); });
  connect(bComanda2, &QToolButton::clicked, this, [this] { bComandaClick(2); });
  connect(ListBox1, &QListWidget::itemClicked, this, &TCfgDialog::ListBox1Click);
  connect(ListBox1, &QListWidget::itemActivated, this, &TCfgDialog::ListBox1Click);
  connect(RadioButton1, &QRadioButton::clicked, this, [this] { RadioButton1Click(1); });
  connect(RadioButton2, &QRadioButton::clicked, this, [this] { RadioButton1Click(2); });
  connect(eTitleFile, &FileComboBox::dropDown, this, [this] { RadioButton1Click(2); });
  connect(bSound, &QToolButton::clicked, this, &TCfgDialog::bSoundClick);
  connect(bDefault2, &QPushButton::clicked, this, &TCfgDialog::bDefaultClick);
  connect(bCancel, &QPushButton::clicked, this, &TCfgDialog::reject);
  connect(OKBtn, &QPushButton::clicked, this, &TCfgDialog::accept);
  for (QObject* watched : {static_cast<QObject*>(meTime), static_cast<QObject*>(ListBox1),
                           static_cast<QObject*>(RadioButton2)}) {
    watched->installEventFilter(this);
  }
}

void TCfgDialog::fill(const TSettings& settings) {
  record_ = settings;
  fonts_ = settings.Fonts;
  const std::array<ColorPanel*, 5> backgrounds{cbColor0, cbColor1, cbColor2, cbColor3, cbColor4};
  for (int i = 0; i < 5; ++i) backgrounds[i]->setColor(settings.C[i]);
  seRunSpeed->setValue(settings.Speed);
  eSound->setText(settings.SoundFile);
  cbSound->setChecked(settings.SLoop);
  cbNoWarning->setChecked(settings.WarningOff);
  seSoundTime->setValue(settings.SoundTime);
  seVid->setCurrentIndex(
      settings.VidTablo >= 0 && settings.VidTablo < seVid->count() ? settings.VidTablo : -1);
  cbFullScreen->setChecked(settings.FullScr);
  cbSport->setCurrentIndex(qMax(0, cbSport->findData(settings.Sport)));
  meBreak->setText(periodLengthText(settings.BreakTime));
}

void TCfgDialog::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) FormShow();
  QDialog::showEvent(event);
}

void TCfgDialog::FormShow() {
  filled_ = false;
  ListBox1->hide();
  meTime->setText(periodLengthText(record_.Time));
  eNames->setText(record_.CNames);
  const QList<QRect> monitors = platform_.desktop.monitorBounds();
  cbMonitor->setEnabled(monitors.size() > 1);
  if (const auto names = TeamsFile::read(QDir(programFolder_).filePath(TeamsFile::fileName))) {
    ListBox1->clear();
    ListBox1->addItems(*names);
  }
  bComanda1->setEnabled(ListBox1->count() > 0);
  bComanda2->setEnabled(ListBox1->count() > 0);
  setTeam(1, record_.Comanda1);
  setTeam(2, record_.Comanda2);
  if (record_.TitelType == 1) RadioButton1->setChecked(true);
  if (record_.TitelType == 2) RadioButton2->setChecked(true);
  RadioButton1Click(RadioButton2->isChecked() ? 2 : 1);
  eTitle->setText(record_.TitelType1);
  eTitleFile->setEditText(record_.TitelType2);
  fillMonitors();
  filled_ = true;
  for (int n = 0; n < kElementFonts; ++n) fontColorPanels_[n]->setColor(fonts_[n].color);
}

void TCfgDialog::fillMonitors() {
  cbMonitor->clear();
  if (!cbMonitor->isEnabled()) {
    cbMonitor->addItem(tr("nicht angeschlossen"));
    cbMonitor->setCurrentIndex(0);
    return;
  }
  const QList<QRect> monitors = platform_.desktop.monitorBounds();
  for (int i = 0; i < monitors.size(); ++i) {
    cbMonitor->addItem(
        QString::asprintf("%d=(%dx%d)", i + 1, monitors[i].width(), monitors[i].height()));
  }
  const bool listed = record_.Monitor >= 0 && record_.Monitor < monitors.size();
  cbMonitor->setCurrentIndex(listed ? record_.Monitor : -1);
}

void TCfgDialog::setTeam(int tag, const QString& name) {
  teams_[tag - 1] = name;
  (tag == 1 ? bComanda1 : bComanda2)->setToolTip(name);
}

void TCfgDialog::cbColor1Click(ColorPanel* panel) {
  if (panel->Tag >= 0) pickerColor_ = panel->color();
  if (!isVisible()) return;
  const std::optional<TColor> chosen = platform_.dialogs.pickColor(this, pickerColor_);
  if (!chosen) return;
  pickerColor_ = *chosen;
  panel->setColor(*chosen);
  const auto line = std::find(fontColorPanels_.begin(), fontColorPanels_.end(), panel);
  if (line == fontColorPanels_.end()) return;
  const int n = int(line - fontColorPanels_.begin());
  fonts_[n].color = *chosen;
  emit elementFontChosen(n, fonts_[n]);
}

void TCfgDialog::bFontClick(int tag) {
  const int n = tag - 1;
  ElementFont& element = fonts_[n];
  const std::optional<ColoredFont> chosen =
      platform_.dialogs.pickFont(this, {fontOf(element, kFontPickerPoints), element.color});
  if (!chosen) return;
  element = {chosen->color, chosen->font.family(), StyleToBits(chosen->font)};
  emit elementFontChosen(n, element);
  fontColorPanels_[n]->setColor(element.color);
}

void TCfgDialog::bComandaClick(int tag) {
  const int top = eNames->geometry().bottom() + 4;
  ListBox1->setGeometry(8, top, 273, height() - top - 38);
  teamSlot_ = tag;
  const auto equal = ListBox1->findItems(teams_[tag - 1], Qt::MatchFixedString);
  ListBox1->setCurrentItem(equal.isEmpty() ? nullptr : equal.first());
  if (equal.isEmpty()) ListBox1->clearSelection();
  ListBox1->show();
  ListBox1->raise();
  ListBox1->setFocus();
}

void TCfgDialog::ListBox1Click() {
  // Hiding the focused list makes it lose the focus, which calls this again.
  if (ListBox1->isHidden()) return;
  if (ListBox1->selectedItems().isEmpty()) ListBox1->setCurrentRow(0);
  setTeam(teamSlot_, ListBox1->currentItem()->text());
  eNames->setText(teams_[0] + " - " + teams_[1]);
  ListBox1->hide();
}

void TCfgDialog::RadioButton1Click(int tag) {
  const bool picture = tag == 2;
  eTitle->setEnabled(!picture);
  eTitleFile->setEnabled(picture);
  if (picture && filled_) {
    OpenFileRequest request{
        pictureFolder_, tr("Bilder (*.gif *.jpg *.jpeg *.bmp);;Alle (*)"), {}, {}};
    const QFileInfo current(eTitleFile->currentText());
    if (current.isFile()) {
      pictureFolder_ = current.absolutePath();
      request = {pictureFolder_, request.filter, current.absoluteFilePath(), {}};
    }
    const QString chosen = platform_.dialogs.pickOpenFile(this, request);
    if (!chosen.isEmpty()) eTitleFile->setEditText(QDir::toNativeSeparators(chosen));
  }
  titleType_ = tag;
}

void TCfgDialog::bSoundClick() {
  const QString folder = QFileInfo(eSound->text()).absolutePath();
  const QString chosen =
      platform_.dialogs.pickOpenFile(this, {folder, "(*.wav);;(*.wma)", {}, "wav"});
  if (!chosen.isEmpty()) eSound->setText(QDir::toNativeSeparators(chosen));
}

void TCfgDialog::bDefaultClick() {
  const TSettings design;
  const std::array<TColor, 5> backgrounds = design.C;
  fonts_ = design.Fonts;
  const std::array<ColorPanel*, 5> panels{cbColor0, cbColor1, cbColor2, cbColor3, cbColor4};
  for (int i = 0; i < 5; ++i) panels[i]->setColor(backgrounds[i]);
  for (int n = 0; n < kElementFonts; ++n) fontColorPanels_[n]->setColor(fonts_[n].color);
  seRunSpeed->setValue(1);
  meTime->setText("45:00");
  seSoundTime->setValue(60);
  cbSound->setChecked(false);
  seVid->setCurrentIndex(kDefaultView);
  emit elementFontsReset(fonts_);
}

void TCfgDialog::accept() {
  if (!meTime->hasAcceptableInput()) {
    complainUnfilledTime();
    return;
  }
  if (!breakSeconds()) {
    platform_.dialogs.showError(
        this, QGuiApplication::applicationDisplayName(),
        tr("Die Pause \"%1\" ist keine Zeit von 00:00 bis 59:59.").arg(meBreak->text()));
    meBreak->setFocus();
    return;
  }
  seRunSpeed->interpretText();
  seSoundTime->interpretText();
  QDialog::accept();
}

void TCfgDialog::refuseUnfilledTime() {
  if (isVisible() && !meTime->hasFocus() && !meTime->hasAcceptableInput()) complainUnfilledTime();
}

void TCfgDialog::complainUnfilledTime() {
  platform_.dialogs.showError(this, QGuiApplication::applicationDisplayName(), tr(kUnfilledTime));
  meTime->setFocus();
}

bool TCfgDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    // Another window taking the focus (a message box, a picker) is not leaving the field.
    const bool leaving = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
    if (leaving && watched == meTime) {
      QMetaObject::invokeMethod(this, &TCfgDialog::refuseUnfilledTime, Qt::QueuedConnection);
    }
    if (leaving && watched == ListBox1) ListBox1Click();
  }
  if (event->type() == QEvent::MouseButtonDblClick && watched == RadioButton2) {
    RadioButton1Click(2);
  }
  return QDialog::eventFilter(watched, event);
}

void TCfgDialog::takeSettings(TSettings& settings) const {
  settings.FullScr = cbFullScreen->isChecked();
  if (seVid->currentIndex() >= 0) settings.VidTablo = seVid->currentIndex();
  settings.SoundTime = seSoundTime->value();
  settings.SoundFile = eSound->text();
  settings.SLoop = cbSound->isChecked();
  settings.WarningOff = cbNoWarning->isChecked();
  settings.TitelType = titleType_;
  settings.TitelType1 = eTitle->text();
  settings.TitelType2 = eTitleFile->currentText();
  settings.Comanda1 = teams_[0];
  settings.Comanda2 = teams_[1];
  settings.Sport = cbSport->currentData().toString();
  settings.BreakTime = breakSeconds().value_or(settings.BreakTime);
}

std::optional<int> TCfgDialog::breakSeconds() const {
  return meBreak->hasAcceptableInput() ? periodSeconds("00:" + meBreak->text()) : std::nullopt;
}

QString TCfgDialog::periodText() const { return "00:" + meTime->text(); }

// A period length that is no valid time refuses the rest: the fields taken before it (screen
// mode, view, sound, title, teams) stay in the record, everything after it keeps its value.
ConfirmedConfiguration TCfgDialog::confirmed(const TSettings& current) const {
  ConfirmedConfiguration c{current, {}, false};
  TSettings& s = c.record;
  takeSettings(s);
  const QString period = periodText();
  const std::optional<int> time = periodSeconds(period);
  if (!time) {
    c.refusal = tr("'%1' is not a valid time.").arg(period);
    return c;
  }
  s.Time = *time;
  s.Title = titleText();
  s.CNames = namesText();
  s.C = backgroundColors();
  s.Speed = runSpeed();
  // With no monitor entry selected (monitors removed while running) the stored one stays.
  const std::optional<int> monitor = selectedMonitor();
  c.monitorChanged = monitor && *monitor != s.Monitor;
  if (c.monitorChanged) s.Monitor = *monitor;
  return c;
}

QString TCfgDialog::namesText() const { return eNames->text(); }

QString TCfgDialog::titleText() const { return eTitle->text(); }

std::array<TColor, 5> TCfgDialog::backgroundColors() const {
  return {cbColor0->color(), cbColor1->color(), cbColor2->color(), cbColor3->color(),
          cbColor4->color()};
}

int TCfgDialog::runSpeed() const { return seRunSpeed->value(); }

std::optional<int> TCfgDialog::selectedMonitor() const {
  if (cbMonitor->currentIndex() < 0) return std::nullopt;
  return cbMonitor->currentIndex();
}
