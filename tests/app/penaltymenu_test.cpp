#include "app/penaltymenu.h"

#include <gtest/gtest.h>

#include <QMenu>
#include <QPainter>

#include "core/match.h"
#include "support/fakes.h"

namespace {

// The menu's actions carried out on a real match.
struct MatchActions : PenaltyActions {
  void givePenalty(int team, const QString& kind, std::optional<int> player) override {
    match.givePenalty(team, kind, player, 1000);
  }
  bool setPenaltyTime(int team, int id, int seconds) override {
    return match.setPenaltyTime(team, id, seconds, 1000);
  }
  void cancelPenalty(int team, int id) override { match.cancelPenalty(team, id, 1000); }
  void foul(int team, int delta) override { match.foul(team, delta); }
  Match match;
};

QAction* actionNamed(QMenu& menu, const QString& text) {
  for (QAction* a : menu.actions())
    if (a->text() == text) return a;
  ADD_FAILURE() << "no entry " << text.toStdString();
  return nullptr;
}

struct Console {
  Console() {
    actions.match.setSport(*SportRules::preset("icehockey"));
    list = std::make_unique<PenaltyList>(actions, fakes.dialogs, ask);
  }
  void render() { list->render(actions.match.state(), actions.match.sport()); }
  const Penalty& guest(int n) const { return actions.match.state().teamPenalties[1][n]; }

  FakePlatform fakes;
  MatchActions actions;
  std::unique_ptr<PenaltyList> list;
  std::optional<QString> typed;
  QString offered;
  AskText ask = [this](QWidget*, const TextQuestion& asked) {
    offered = asked.initial;
    return typed;
  };
};

TEST(PenaltyMenu, OffersTheSportsKindsAndSetsOrCancelsThePenaltyShown) {
  Console c;
  c.actions.match.givePenalty(2, "2+2", 12, 1000);
  c.render();
  c.list->setCurrentRow(0);
  QMenu menu;
  c.list->fillMenuForCurrent(menu);
  QStringList captions;
  for (QAction* a : menu.actions()) captions.append(a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(captions, (QStringList{"2 Min", "2+2 Min", "5 Min", "10 Min (persönlich)", "-",
                                   "Restzeit setzen…", "Aufheben"}));
  EXPECT_EQ(c.list->item(0)->text(), "Gast  2+2 Min  #12  4:00  bereit");

  const struct {
    std::optional<QString> typed;
    const char* shown;  // the penalty's time afterwards
    const char* error;  // the message shown, if any
  } rows[] = {
      {" 1:15 ", "1:15", nullptr},
      {"1:5", "1:15", "„1:5“ ist keine Restzeit: bitte m:ss von 0:01 bis 20:00 eingeben."},
      {"20:01", "1:15", "„20:01“ ist keine Restzeit: bitte m:ss von 0:01 bis 20:00 eingeben."},
      {"0:00", "1:15", "„0:00“ ist keine Restzeit: bitte m:ss von 0:01 bis 20:00 eingeben."},
      {"75", "1:15", "„75“ ist keine Restzeit: bitte m:ss von 0:01 bis 20:00 eingeben."},
      {std::nullopt, "1:15", nullptr},  // cancelled
      {"20:00", "20:00", nullptr},
  };
  for (const auto& row : rows) {
    c.fakes.dialogs.errors.clear();
    c.typed = row.typed;
    actionNamed(menu, "Restzeit setzen…")->trigger();
    EXPECT_EQ(c.guest(0).text(), row.shown) << row.typed.value_or("(cancelled)").toStdString();
    EXPECT_EQ(c.fakes.dialogs.errors, row.error ? QStringList{QString(row.error)} : QStringList{});
  }
  EXPECT_EQ(c.offered, "4:00");  // the time shown when the menu opened

  // SCORVEX_SAVE_PICTURES=folder: the list and its menu as the README shows them.
  if (const QString folder = qEnvironmentVariable("SCORVEX_SAVE_PICTURES"); !folder.isEmpty()) {
    c.list->resize(320, 60);
    c.list->show();
    menu.popup({0, 0});
    menu.setActiveAction(actionNamed(menu, "Restzeit setzen…"));
    const QPixmap list = c.list->grab(), popup = menu.grab();
    QImage picture(list.width() + popup.width() / 2 + 20, popup.height() + 30,
                   QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.drawPixmap(0, 0, list);
    painter.drawPixmap(list.width() / 2 + 20, 22, popup);
    painter.end();
    picture.save(folder + "/penalty-menu.png");
    menu.hide();
  }
  c.typed = "";  // no player
  actionNamed(menu, "5 Min")->trigger();
  ASSERT_EQ(c.actions.match.state().teamPenalties[1].size(), 2u);
  EXPECT_EQ(c.guest(1).kind.id, "5");
  actionNamed(menu, "Aufheben")->trigger();
  ASSERT_EQ(c.actions.match.state().teamPenalties[1].size(), 1u);
  EXPECT_EQ(c.guest(0).kind.id, "5");
}

// A kind given from the menu asks for the player's number; Enter on an empty field gives none.
TEST(PenaltyMenu, GivingAPenaltyAsksForThePlayersNumber) {
  Console c;
  QMenu menu;
  fillPenaltyMenu(menu, c.actions.match.sport(), 1, nullptr, c.actions, c.ask, c.fakes.dialogs,
                  nullptr);
  const struct {
    std::optional<QString> typed;
    std::optional<std::optional<int>> given;  // the player of the penalty given, if one is
    const char* error;
  } rows[] = {
      {" 7 ", std::optional<int>(7), nullptr},
      {"", std::optional<int>(), nullptr},
      {std::nullopt, std::nullopt, nullptr},  // cancelled: no penalty
      {"100", std::nullopt,
       "„100“ ist keine Spielernummer: bitte 0 bis 99 eingeben oder leer lassen."},
      {"x7", std::nullopt,
       "„x7“ ist keine Spielernummer: bitte 0 bis 99 eingeben oder leer lassen."},
  };
  for (const auto& row : rows) {
    const std::string name = row.typed.value_or("(cancelled)").toStdString();
    c.fakes.dialogs.errors.clear();
    c.typed = row.typed;
    const size_t before = c.actions.match.state().teamPenalties[0].size();
    actionNamed(menu, "2 Min")->trigger();
    const auto& given = c.actions.match.state().teamPenalties[0];
    ASSERT_EQ(given.size(), before + (row.given ? 1 : 0)) << name;
    if (row.given) EXPECT_EQ(given.back().player, *row.given) << name;
    EXPECT_EQ(c.fakes.dialogs.errors, row.error ? QStringList{QString(row.error)} : QStringList{})
        << name;
  }
}

TEST(PenaltyMenu, TheListKeepsTheOperatorsEntryWhileTimesChange) {
  Console c;
  c.actions.match.playPause(1000);
  c.actions.match.givePenalty(1, "2", 7, 1000);
  c.actions.match.givePenalty(1, "2", std::nullopt, 1000);
  c.actions.match.givePenalty(1, "5", 9, 1000);
  c.render();
  c.list->setCurrentRow(2);
  for (quint32 now = 1200; now <= 3000; now += 200) c.actions.match.tick(now);
  c.render();
  EXPECT_EQ(c.list->item(0)->text(), "Heim  2 Min  #7  1:58  läuft");
  EXPECT_EQ(c.list->item(2)->text(), "Heim  5 Min  #9  5:00  wartet");
  EXPECT_EQ(c.list->currentRow(), 2);
  // With no penalty the menu still gives one, but has nothing to set or cancel.
  QMenu menu;
  fillPenaltyMenu(menu, c.actions.match.sport(), 2, nullptr, c.actions, {}, c.fakes.dialogs,
                  nullptr);
  EXPECT_FALSE(actionNamed(menu, "Restzeit setzen…")->isEnabled());
  EXPECT_FALSE(actionNamed(menu, "Aufheben")->isEnabled());
}

}  // namespace
