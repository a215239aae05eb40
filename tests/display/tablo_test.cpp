#include "display/tablo.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <functional>
#include <type_traits>

#include "board/boardview.h"
#include "core/match.h"
#include "display/framemerrowtide.h"
#include "display/layout.h"
#include "settings/settings.h"
#include "settings/settingsstore.h"
#include "support/fakes.h"
#include "ticker/runstring.h"
#include "widgets/label3d.h"
#include "widgets/picturebox.h"

namespace {

class TabloTest : public ::testing::Test {
 protected:
  // A display made as the program makes it: the settings read from the store first.
  TFormTablo& created() {
    store.load(QString(), fakes.desktop.monitors.size());
    tablo = std::make_unique<TFormTablo>(fakes.platform, settings, match);
    tablo->takeStoredPlace(store.storedDisplay());
    return *tablo;
  }
  // A display shown full screen on the first fake monitor.
  TFormTablo& shownFullScreen() {
    created();
    tablo->show();
    tablo->ApplyScreenMode();
    QApplication::processEvents();
    return *tablo;
  }

  template <typename T>
  void set(T TSettings::*field, const std::type_identity_t<T>& value) {
    settings.change([&](TSettings& s) { s.*field = value; });
  }

  FakePlatform fakes;
  Settings settings;
  SettingsStore store{fakes.settings, settings};
  Match match;
  std::unique_ptr<TFormTablo> tablo;
};

int points(const QWidget* w) { return fontPointSize(w->font(), 96); }

}  // namespace

TEST_F(TabloTest, EveryElementIsNamedAndPanelsLieAboveTheLabels) {
  TFormTablo& t = shownFullScreen();
  const QStringList drawn = {"Label4",       "Label2",       "Label1",       "Label5",
                             "Image1",       "RunLabel",     "Logo1",        "Logo2",
                             "LabelLogo1",   "LabelLogo2",   "Label3",       "LabelStraf1a",
                             "LabelStraf1b", "LabelStraf2a", "LabelStraf2b", "LabelData"};
  const QStringList windowed = {"PanelPause", "PanelLogo", "FrameMerrowtide1", "PanelBlack"};
  QStringList order;
  for (QObject* child : t.children())
    if (child->isWidgetType()) order.append(child->objectName());
  int lowestWindowed = order.size();
  for (const QString& name : windowed) {
    ASSERT_TRUE(order.contains(name)) << name.toStdString();
    lowestWindowed = std::min<int>(lowestWindowed, order.indexOf(name));
  }
  for (const QString& name : drawn) {
    ASSERT_TRUE(order.contains(name)) << name.toStdString();
    EXPECT_LT(order.indexOf(name), lowestWindowed) << name.toStdString();
  }
  // The logo texts were moved to the top of the drawn elements.
  EXPECT_EQ(order.indexOf("LabelLogo2"), lowestWindowed - 1);
  EXPECT_EQ(order.indexOf("LabelLogo1"), lowestWindowed - 2);
  EXPECT_EQ(t.PanelPauseRed->parentWidget(), t.PanelPause);
  EXPECT_EQ(t.Logo->parentWidget(), t.PanelLogo);
}

TEST_F(TabloTest, FullScreen1024x768View0PlacesEveryElement) {
  TFormTablo& t = shownFullScreen();
  ASSERT_EQ(t.geometry(), QRect(0, 0, 1024, 768));
  struct Row {
    QWidget* element;
    QRect bounds;
  };
  for (const Row& row :
       {Row{t.FrameMerrowtide1, {768, 709, 256, 59}},
        Row{t.Label1, {0, 0, 1024 - t.LabelData->width(), 153}},
        Row{t.Label2, {310, 153, 404, 153}}, Row{t.Label3, {0, 306, 1024, 153}},
        Row{t.Label4, {0, 459, 1024, 250}}, Row{t.Label5, {449, 459, 125, 250}},
        Row{t.Image1, {0, 0, 1024 - t.LabelData->width(), 153}}, Row{t.Logo1, {0, 153, 310, 153}},
        Row{t.Logo2, {714, 153, 310, 153}}, Row{t.LabelLogo2, {714, 153, 310, 153}},
        Row{t.RunLabel, {0, 709, 768, 60}}, Row{t.LabelStraf1b, {0, 584, 170, 125}},
        Row{t.LabelStraf2a, {854, 459, 170, 125}}, Row{t.PanelPause, {449, 459, 125, 250}},
        Row{t.PanelPauseRed, {0, 62, 125, 125}}, Row{t.PanelLogo, {0, 0, 1024, 768}},
        Row{t.PanelBlack, {0, 0, 1024, 768}}}) {
    EXPECT_EQ(row.element->geometry(), row.bounds) << row.element->objectName().toStdString();
  }
  EXPECT_EQ(t.Label2->font().pixelSize(), 145);
  EXPECT_EQ(points(t.LabelLogo1), 38);
  EXPECT_EQ(fontPointSize(t.RunLabel->RFont().font, 96), 38);
  EXPECT_EQ(t.RunLabel->RFont().color, colors::yellow);
  for (QWidget* penalty : {t.LabelStraf1a, t.LabelStraf1b, t.LabelStraf2a, t.LabelStraf2b}) {
    EXPECT_EQ(points(penalty), 56);
    EXPECT_TRUE(penalty->isVisible());
  }
  EXPECT_EQ(points(t.LabelData), 51);
  EXPECT_EQ(t.LabelData->geometry().right(), 1023);
  EXPECT_EQ(t.LabelData->y(), -1);
  EXPECT_EQ(points(t.Label5), points(t.Label4) / 3);
  EXPECT_EQ(t.windowTitle(), "1024x768");
  EXPECT_TRUE(t.windowFlags() & Qt::FramelessWindowHint);
}

TEST_F(TabloTest, ViewsHideNamesAndPenalties) {
  struct Row {
    int view;
    bool names, penalties;
  };
  for (const Row& row :
       {Row{0, true, true}, Row{1, true, true}, Row{2, false, false}, Row{3, true, false}}) {
    set(&TSettings::VidTablo, row.view);
    TFormTablo& t = shownFullScreen();
    EXPECT_EQ(t.Label3->isVisible(), row.names) << row.view;
    EXPECT_EQ(t.LabelStraf2b->isVisible(), row.penalties) << row.view;
  }
  EXPECT_EQ(tablo->Label2->geometry(), QRect(310, 238, 404, 320));
  EXPECT_EQ(tablo->Label2->font().pixelSize(), 123);
}

TEST_F(TabloTest, StoredView7KeepsTheBandsOfThePreviousLayout) {
  TFormTablo& t = shownFullScreen();
  set(&TSettings::VidTablo, 7);
  fakes.desktop.monitors = {QRect(0, 0, 800, 600)};
  t.ApplyScreenMode();
  ASSERT_EQ(t.size(), QSize(800, 600));
  EXPECT_EQ(t.Label1->geometry(), QRect(0, 0, 800 - t.LabelData->width(), 120));
  EXPECT_EQ(t.FrameMerrowtide1->geometry(), QRect(600, 554, 200, 46));
  EXPECT_EQ(t.Label2->geometry(), QRect(310, 153, 404, 153));
  EXPECT_EQ(t.Label4->geometry(), QRect(0, 459, 1024, 250));
  EXPECT_EQ(t.LabelStraf2a->geometry(), QRect(667, 459, 133, 125));
  EXPECT_FALSE(t.LabelStraf2a->isVisible());
  EXPECT_TRUE(t.Label3->isVisible());
  EXPECT_EQ(t.windowTitle(), "800x600");
}

TEST_F(TabloTest, WidthLimitCapsFullScreenAtTheMonitorsLeftEdge) {
  fakes.desktop.monitors = {QRect(0, 0, 1024, 768), QRect(1024, 0, 1920, 1080)};
  set(&TSettings::Monitor, 1);
  tablo = std::make_unique<TFormTablo>(fakes.platform, settings, match);
  tablo->limitWidth(800);
  tablo->placeLeft(100);  // overridden by full screen
  tablo->show();
  tablo->ApplyScreenMode();
  QApplication::processEvents();
  EXPECT_EQ(tablo->geometry(), QRect(1024, 0, 800, 1080));
  EXPECT_EQ(tablo->Label1->width(), 800 - tablo->LabelData->width());
  EXPECT_EQ(tablo->FrameMerrowtide1->geometry(), QRect(600, 1080 - 83, 200, 83));
  EXPECT_EQ(tablo->windowTitle(), "800x1080");
}

TEST_F(TabloTest, WindowModeKeepsTheCommandLinePlacement) {
  fakes.desktop.monitors = {QRect(0, 0, 1024, 768), QRect(1024, 0, 1920, 1080)};
  set(&TSettings::Monitor, 1);
  set(&TSettings::FullScr, false);
  tablo = std::make_unique<TFormTablo>(fakes.platform, settings, match);
  tablo->placeLeft(100);
  tablo->placeTop(20);
  tablo->ApplyScreenMode();
  EXPECT_EQ(tablo->pos(), QPoint(1124, 20));
  EXPECT_EQ(tablo->size(), QSize(408, 331));
  EXPECT_FALSE(tablo->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_FALSE(tablo->windowFlags() & Qt::WindowMinimizeButtonHint);
}

TEST_F(TabloTest, CreationPreparesConsoleAndElements) {
  set(&TSettings::Monitor, 3);  // only one monitor present
  TFormTablo& t = shownFullScreen();
  EXPECT_EQ(settings.record().Monitor, 0);
  EXPECT_EQ(t.Label2->caption(), "45:00");
  EXPECT_EQ(t.LabelData->caption(), QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
  EXPECT_TRUE(t.LabelData->isVisible());
  EXPECT_EQ(t.LabelStraf1a->fontColor(), colors::navy);
  EXPECT_EQ(t.Label4->caption(), "0 - 0");
  const QList<QWidget*> hidden = {t.PanelPause, t.PanelLogo, t.PanelBlack,
                                  t.Label5,     t.RunLabel,  t.Image1};
  for (QWidget* element : hidden)
    EXPECT_FALSE(element->isVisible()) << element->objectName().toStdString();
  EXPECT_TRUE(t.Label1->isVisible());
  EXPECT_EQ(t.cursor().shape(), Qt::BlankCursor);
}

TEST_F(TabloTest, NegativeMonitorIndexFallsBackToTheFirstMonitor) {
  set(&TSettings::Monitor, -2);
  shownFullScreen();
  EXPECT_EQ(settings.record().Monitor, 0);
  EXPECT_EQ(tablo->geometry(), QRect(0, 0, 1024, 768));
}

TEST_F(TabloTest, ApplyColorsPutsC0ToC4OnTheirElements) {
  TFormTablo& t = shownFullScreen();
  set(&TSettings::C, decltype(TSettings::C){0x010101, 0x020202, 0x030303, 0x040404, 0x0000C0});
  t.ApplyColors();
  EXPECT_EQ(t.color(), 0x010101u);
  EXPECT_EQ(t.RunLabel->Color(), 0x010101u);
  EXPECT_EQ(t.Label1->color(), 0x020202u);
  EXPECT_EQ(t.Label2->color(), 0x030303u);
  EXPECT_EQ(t.Label5->color(), 0x030303u);
  EXPECT_EQ(t.Label3->color(), 0x040404u);
  // C4: score background, pause sign panel and the idle penalty text, all at once.
  EXPECT_EQ(t.Label4->color(), 0x0000C0u);
  EXPECT_EQ(t.PanelPause->color(), 0x0000C0u);
  for (TLabel3D* penalty : {t.LabelStraf1a, t.LabelStraf1b, t.LabelStraf2a, t.LabelStraf2b})
    EXPECT_EQ(penalty->fontColor(), 0x0000C0u);
}

TEST_F(TabloTest, CloseRequestsAreRefused) {
  TFormTablo& t = shownFullScreen();
  EXPECT_FALSE(t.close());
  EXPECT_TRUE(t.isVisible());
}

TEST_F(TabloTest, FitFontMeasuresTheTextAsDrawn) {
  TFormTablo& t = shownFullScreen();
  // Sixteen ampersand pairs draw as eight ampersands.
  const QString caption = QString(32, u'&') + "GAST";
  t.Label3->setCaption(caption);
  t.FitFont(t.Label3);
  const QFont font = t.Label3->font();
  EXPECT_EQ(points(t.Label3), FitFont(QString(16, u'&') + "GAST", QSize(1024, 153), font, 96));
  EXPECT_NE(points(t.Label3), FitFont(caption, QSize(1024, 153), font, 96));
}

TEST_F(TabloTest, WindowModeTakesTheFrameHeightFromTheOuterWindow) {
  set(&TSettings::FullScr, false);
  tablo = std::make_unique<TFormTablo>(fakes.platform, settings, match);
  tablo->show();
  tablo->ApplyScreenMode();
  tablo->resize(1024, 779);
  QApplication::processEvents();
  const int outerHeight = tablo->frameGeometry().height();
  ASSERT_GT(outerHeight, tablo->height()) << "the window system draws no frame";
  EXPECT_EQ(tablo->FrameMerrowtide1->height(), outerHeight / 13);
  EXPECT_EQ(tablo->FrameMerrowtide1->y(), 779 - outerHeight / 13);
  EXPECT_EQ(tablo->windowTitle(), "1024x779");
}

TEST_F(TabloTest, WindowModeLimitsTheOuterSizeTo320x240) {
  set(&TSettings::FullScr, false);
  tablo = std::make_unique<TFormTablo>(fakes.platform, settings, match);
  tablo->show();
  tablo->ApplyScreenMode();
  QApplication::processEvents();
  ASSERT_GT(tablo->frameGeometry().height(), tablo->height()) << "the window system draws no frame";
  tablo->resize(1, 1);
  EXPECT_EQ(tablo->frameGeometry().size(), QSize(320, 240));
}

TEST_F(TabloTest, BecomingActiveTellsTheConsole) {
  tablo = std::make_unique<TFormTablo>(fakes.platform, settings, match);
  QSignalSpy activated(tablo.get(), &TFormTablo::activated);
  tablo->show();
  tablo->activateWindow();
  QApplication::processEvents();
  ASSERT_TRUE(tablo->isActiveWindow());
  EXPECT_EQ(activated.count(), 1);
}

TEST_F(TabloTest, TitlePictureFallsBackToTheTitleText) {
  QTemporaryDir dir;
  const QString picture = dir.filePath("title.bmp");
  QImage image(40, 10, QImage::Format_RGB32);
  image.fill(Qt::green);
  ASSERT_TRUE(image.save(picture, "BMP"));

  set(&TSettings::TitelType, 2);
  set(&TSettings::TitelType2, dir.filePath("missing.jpg"));
  TFormTablo& t = shownFullScreen();
  EXPECT_FALSE(t.Image1->isVisible());
  EXPECT_TRUE(t.Label1->isVisible());

  set(&TSettings::TitelType2, picture);
  t.ApplyTitle();
  EXPECT_TRUE(t.Image1->isVisible());
  EXPECT_FALSE(t.Label1->isVisible());
  EXPECT_EQ(t.Image1->picture().size(), QSize(40, 10));

  // A picture that does not load keeps the one shown; title type 1 brings the text back.
  set(&TSettings::TitelType2, dir.filePath("missing.jpg"));
  t.ApplyTitle();
  EXPECT_TRUE(t.Image1->isVisible());
  EXPECT_EQ(t.Image1->picture().size(), QSize(40, 10));
  set(&TSettings::TitelType, 1);
  t.ApplyTitle();
  EXPECT_FALSE(t.Image1->isVisible());
  EXPECT_TRUE(t.Label1->isVisible());
}

TEST_F(TabloTest, TeamLogosShowPictureOrTextFromTheWorkingDirectory) {
  QTemporaryDir dir;
  QFile text(dir.filePath("HEIM.txt"));
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  text.write("TV\nHeim\n");
  text.close();
  QImage image(8, 8, QImage::Format_RGB32);
  image.fill(Qt::blue);
  ASSERT_TRUE(image.save(dir.filePath("GAST.bmp"), "BMP"));
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir.path()));
  TFormTablo& t = shownFullScreen();
  QDir::setCurrent(previous);

  EXPECT_FALSE(t.Logo1->isVisible());
  EXPECT_TRUE(t.LabelLogo1->isVisible());
  EXPECT_EQ(t.LabelLogo1->caption(), "TV\nHeim\n");
  EXPECT_TRUE(t.Logo2->isVisible());
  EXPECT_FALSE(t.LabelLogo2->isVisible());

  // Other team names without files hide all four.
  set(&TSettings::Comanda1, "NIEMAND");
  set(&TSettings::Comanda2, "KEINER");
  t.LoadTeamLogos();
  for (QWidget* logo :
       std::initializer_list<QWidget*>{t.Logo1, t.Logo2, t.LabelLogo1, t.LabelLogo2})
    EXPECT_FALSE(logo->isVisible()) << logo->objectName().toStdString();
}

TEST_F(TabloTest, StoredDisplayGroupIsAppliedAndWrittenBackUnchanged) {
  FakeSettingsKey& key = fakes.settings;
  key.exists = true;
  key.texts = {
      {"CNames", "A && B"}, {"Title", "Pokal"}, {"FN1", "Arial"}, {"FN2", "Liberation Mono"},
      {"FN3", "Arial"},     {"FN4", "Arial"},   {"FN5", "Arial"}};
  key.integers = {{"C0", 0x010101}, {"C1", 0x020202},  {"C2", 0x030303}, {"C3", 0x040404},
                  {"C4", 0x050505}, {"FC1", 0x0000FF}, {"FS1", 6},       {"FC2", 0xFFFFFF},
                  {"FS2", 1},       {"FC3", 0xFFFFFF}, {"FS3", 1},       {"FC4", 0xFFFFFF},
                  {"FS4", 9},       {"FC5", 0x00FF00}, {"FS5", 0},       {"VidTablo", 3},
                  {"Wt", 640},      {"Ht", 480},       {"Xt", 10},       {"Yt", 20},
                  {"FullScr", 0}};
  const auto storedTexts = key.texts;
  const auto storedIntegers = key.integers;
  TFormTablo& t = created();

  EXPECT_EQ(t.Label3->caption(), "A && B");
  EXPECT_EQ(settings.record().CNames, "A && B");
  EXPECT_EQ(t.Label1->caption(), "Pokal");
  EXPECT_TRUE(t.Label1->font().italic() && t.Label1->font().underline());
  EXPECT_FALSE(t.Label1->font().bold());
  EXPECT_EQ(t.Label1->fontColor(), 0x0000FFu);
  EXPECT_EQ(t.Label2->font().family(), "Liberation Mono");
  EXPECT_TRUE(t.Label4->font().bold() && t.Label4->font().strikeOut());
  EXPECT_EQ(t.RunLabel->RFont().color, colors::lime);
  EXPECT_FALSE(t.RunLabel->RFont().font.bold());
  EXPECT_EQ(t.Label4->color(), 0x050505u);
  EXPECT_EQ(t.LabelStraf2b->fontColor(), 0x050505u);
  EXPECT_EQ(settings.record().VidTablo, 3);
  EXPECT_FALSE(settings.record().FullScr);
  EXPECT_EQ(t.size(), QSize(640, 480));
  EXPECT_EQ(t.pos(), QPoint(10, 20));

  key.texts.clear();
  key.integers.clear();
  key.writeOrder.clear();
  store.setDisplayPlace(t.size(), t.pos());
  store.writeGroups();  // the display group first, then the console's
  for (auto [name, value] : storedTexts.asKeyValueRange()) EXPECT_EQ(key.texts[name], value);
  for (auto [name, value] : storedIntegers.asKeyValueRange()) EXPECT_EQ(key.integers[name], value);
  EXPECT_EQ(key.writeOrder.mid(0, 6), QStringList({"Wt", "Ht", "Xt", "Yt", "CNames", "Title"}));
  EXPECT_EQ(key.writeOrder[key.writeOrder.indexOf("L") - 1], "FullScr");
}

TEST_F(TabloTest, IncompleteColoursLeaveTheDesignColoursAndLaterValues) {
  FakeSettingsKey& key = fakes.settings;
  key.exists = true;
  key.texts = {{"Title", "Pokal"}};  // "CNames" missing: the names become empty
  key.integers = {{"C0", 0x010101}, {"C1", 0x020202}};
  TFormTablo& t = shownFullScreen();
  EXPECT_EQ(t.Label3->caption(), "");
  EXPECT_EQ(settings.record().CNames, "");
  EXPECT_EQ(t.Label1->caption(), "Pokal");
  EXPECT_EQ(settings.record().C[0], 0x010101u);
  EXPECT_EQ(t.color(), colors::black);
  EXPECT_EQ(t.Label1->color(), colors::black);
  EXPECT_EQ(t.Label4->color(), colors::navy);
  EXPECT_TRUE(t.Label1->font().bold());
}

TEST_F(TabloTest, PauseSignIsARedSquareWithATwoPixelRaisedBevel) {
  TFormTablo& t = shownFullScreen();
  t.PanelPause->show();
  QApplication::processEvents();
  const QImage sign = t.PanelPauseRed->grab().toImage();
  ASSERT_EQ(sign.size(), QSize(125, 125));
  const QRgb light = toQColor(colors::btnHighlight).rgb();
  const QRgb dark = toQColor(colors::btnShadow).rgb();
  const QRgb red = toQColor(colors::red).rgb();
  struct Row {
    int x, y;
    QRgb colour;
  };
  for (const Row& row :
       {Row{0, 60, light}, Row{1, 60, light}, Row{2, 60, red}, Row{60, 0, light}, Row{60, 1, light},
        Row{60, 2, red}, Row{124, 60, dark}, Row{123, 60, dark}, Row{122, 60, red},
        Row{60, 124, dark}, Row{60, 123, dark}, Row{60, 122, red}, Row{124, 0, dark},
        Row{0, 124, dark}, Row{0, 0, light}}) {
    EXPECT_EQ(sign.pixel(row.x, row.y), row.colour) << row.x << "," << row.y;
  }
}

TEST_F(TabloTest, RunningTextIsYellowWithABlackRelief) {
  TFormTablo& t = shownFullScreen();
  t.RunLabel->setRText("Tor");
  t.RunLabel->Start(t.RunLabel->width());
  t.RunLabel->Stop();
  t.RunLabel->show();
  const QImage strip = t.RunLabel->grab().toImage();
  int yellow = 0;
  for (int y = 0; y < strip.height(); ++y)
    for (int x = 0; x < strip.width(); ++x) {
      const QColor c = strip.pixelColor(x, y);
      ASSERT_EQ(c.blue(), 0) << x << "," << y;  // yellow blended on black has no blue
      yellow += c == QColor(Qt::yellow);
    }
  EXPECT_GT(yellow, 0);
}

TEST_F(TabloTest, ClockTextIsShownWholeOnANarrowDisplay) {
  const auto drawnClock = [](Label* clock, const char* text) {
    clock->setCaption(text);
    return clock->grab().toImage();
  };
  // Where the layout's size fits, the clock is drawn as before.
  TFormTablo& wide = shownFullScreen();
  const QImage fitting = drawnClock(wide.Label2, "45:00");

  fakes.desktop.monitors = {QRect(0, 0, 1920, 1080)};
  TFormTablo& narrow = shownFullScreen();
  narrow.limitWidth(800);
  narrow.ApplyScreenMode();
  ASSERT_EQ(narrow.Label2->width(), 316);
  for (const char* text : {"45:00", "1:00:00"}) {
    const QImage clock = drawnClock(narrow.Label2, text);
    const QColor background = clock.pixelColor(0, 0);
    // No glyph is cut at the label's left or right edge.
    for (int y = 0; y < clock.height(); ++y) {
      ASSERT_EQ(clock.pixelColor(0, y), background) << text << " y " << y;
      ASSERT_EQ(clock.pixelColor(clock.width() - 1, y), background) << text << " y " << y;
    }
  }

  fakes.desktop.monitors = {QRect(0, 0, 1024, 768)};
  narrow.limitWidth(0);
  narrow.ApplyScreenMode();
  EXPECT_EQ(drawnClock(narrow.Label2, "45:00"), fitting);
}

// The penalty labels draw the board view's four places (board/boardview.h has their rule).
TEST_F(TabloTest, FutsalShowsEachTeamsFoulsInItsFirstPenaltySlot) {
  TFormTablo& t = shownFullScreen();
  match.setSport(*SportRules::preset("futsal"));
  match.playPause(1000);
  for (int n = 0; n < 6; ++n) match.foul(1, +1);
  match.foul(2, +1);
  match.givePenalty(2, "2", 5, 1000);
  const BoardView board = boardView(match.state(), match.sport(), settings.record());
  const std::array<TLabel3D*, 4> labels{t.LabelStraf1a, t.LabelStraf1b, t.LabelStraf2a,
                                        t.LabelStraf2b};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(labels[i]->caption(), board.place(i).text) << i;
    EXPECT_EQ(labels[i]->fontColor(), board.place(i).colour) << i;
  }
  EXPECT_EQ(t.LabelStraf1a->caption(), "Fouls 6");
  // The fouls fit into the slot; back in a sport without fouls, the slot takes the time's font.
  EXPECT_LE(QFontMetrics(t.LabelStraf1a->font()).horizontalAdvance("Fouls 6"),
            t.LabelStraf1a->width());
  match.setSport(SportRules{});
  EXPECT_EQ(t.LabelStraf1a->font(), t.LabelStraf1b->font());
  EXPECT_EQ(t.LabelStraf1a->caption(), "2:00");
}

// A time-out and the break take the clock band in yellow on red, with the whole text in the
// band; afterwards the band shows the paused clock in the settings' colours again.
TEST_F(TabloTest, TimeoutAndBreakTakeTheClockBandInYellowOnRed) {
  TFormTablo& t = shownFullScreen();
  match.setSport(*SportRules::preset("handball"));
  match.setRules({.periodLength = 1800});
  const TColor clockColour = t.Label2->color();
  quint32 now = 1000;
  match.playPause(now);
  match.tick(now += 5000);
  struct Row {
    std::function<void()> command;
    const char* caption;
    bool band;
  };
  const Row rows[] = {
      {[&] { match.startTimeout(2, now); }, "AUSZEIT GAST 1:00", true},
      {[&] { match.tick(now += 17000); }, "AUSZEIT GAST 0:43", true},
      {[&] { match.endTimeout(now); }, "29:55", false},
      {[&] { match.startBreak(now); }, "PAUSE 10:00", true},
      {[&] { match.endBreak(); }, "29:55", false},
  };
  for (const Row& row : rows) {
    row.command();
    QApplication::processEvents();
    EXPECT_EQ(t.Label2->caption(), row.caption);
    EXPECT_TRUE(t.Label2->isVisible()) << row.caption;
    const QImage band = t.Label2->grab().toImage();
    const QColor background = band.pixelColor(0, 0);
    int yellow = 0;
    for (int y = 0; y < band.height(); ++y) {
      // No glyph is cut at the band's edges.
      ASSERT_EQ(band.pixelColor(0, y), background) << row.caption << " y " << y;
      ASSERT_EQ(band.pixelColor(band.width() - 1, y), background) << row.caption << " y " << y;
      for (int x = 0; x < band.width(); ++x) yellow += band.pixelColor(x, y) == QColor(Qt::yellow);
    }
    EXPECT_EQ(background, row.band ? QColor(Qt::red) : toQColor(clockColour)) << row.caption;
    EXPECT_EQ(yellow > 0, row.band) << row.caption;
  }
}
