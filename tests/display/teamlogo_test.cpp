#include "display/teamlogo.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QVector>

#include "support/picturefiles.h"

namespace {

struct File {
  const char* name;
  QByteArray data;
};

// Each file format gets its own size, so the test can tell which file was taken.
const QSize gifSize(40, 20), jpegSize(30, 30), bmpSize(20, 40);

}  // namespace

TEST(TeamLogo, SearchOrderGifJpegBmpText) {
  const QByteArray gif = encodeGif(quarters(gifSize.width(), gifSize.height()));
  const QByteArray jpeg = encodeJpeg(quarters(jpegSize.width(), jpegSize.height()));
  const QByteArray bmp = encodeWithQt(quarters(bmpSize.width(), bmpSize.height()), "BMP");
  const QByteArray text = "Die\r\nFüchse\r\n";
  const QByteArray broken = "GIF89a broken";
  const QByteArray png = encodeWithQt(quarters(10, 10), "PNG");
  using K = TeamLogo::Kind;
  const struct {
    const char* name;
    QVector<File> files;
    K kind = K::None;
    QSize size = {};
    std::optional<QRgb> transparent = {};
    QString text = {};
  } rows[] = {
      {"GIF first",
       {{"HEIM.gif", gif}, {"HEIM.jpg", jpeg}, {"HEIM.bmp", bmp}},
       K::Picture,
       gifSize},
      {"JPEG without GIF", {{"HEIM.jpg", jpeg}, {"HEIM.bmp", bmp}}, K::Picture, jpegSize},
      {"JPEG after a broken GIF", {{"HEIM.gif", broken}, {"HEIM.jpg", jpeg}}, K::Picture, jpegSize},
      {"BMP leaves out its bottom-left colour",
       {{"HEIM.gif", broken}, {"HEIM.bmp", bmp}, {"HEIM.txt", text}},
       K::Picture,
       bmpSize,
       qRgb(0, 0, 255)},
      {"text with two lines", {{"HEIM.txt", text}}, K::Text, {}, {}, "Die\nFüchse\n"},
      {"text after broken pictures",
       {{"HEIM.gif", broken}, {"HEIM.jpg", png}, {"HEIM.bmp", jpeg.left(100)}, {"HEIM.txt", "A"}},
       K::Text,
       {},
       {},
       "A\n"},
      {"JPEG and text: text not read",
       {{"HEIM.jpg", jpeg}, {"HEIM.txt", text}},
       K::Picture,
       jpegSize},
      {"other team's files only", {{"GAST.jpg", jpeg}, {"GAST.txt", text}}, K::None},
      {"nothing", {}, K::None},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const File& file : row.files) ASSERT_TRUE(writeFile(dir.filePath(file.name), file.data));

    const TeamLogo logo = findTeamLogo(dir.path(), "HEIM");
    EXPECT_EQ(logo.kind, row.kind);
    EXPECT_EQ(logo.picture.isNull(), row.kind != K::Picture);
    if (row.kind == K::Picture) {
      EXPECT_EQ(logo.picture.size(), row.size);
    }
    EXPECT_EQ(logo.transparentColour, row.transparent);
    EXPECT_EQ(logo.text, row.text);
  }
}

TEST(LogoText, DecodesSplitsAndCleans) {
  const struct {
    const char* name;
    QByteArray data;
    QString expected;
  } rows[] = {
      {"empty file", "", ""},
      {"no final break", "HEIM", "HEIM\n"},
      {"LF, CR and CRLF breaks", "a\nb\rc\r\nd\n", "a\nb\nc\nd\n"},
      {"blank lines kept", "a\n\nb\n", "a\n\nb\n"},
      {"UTF-8",
       "F\xC3\xBC"
       "chse",
       "Füchse"},
      {"Latin-1 when not UTF-8",
       "F\xFC"
       "chse",
       "Füchse"},
      {"UTF-8 byte order mark", "\xEF\xBB\xBFHEIM", "HEIM\n"},
      {"UTF-16 with byte order mark", QByteArray("\xFF\xFEH\0I\0", 6), "HI\n"},
      {"control characters dropped, tabs kept",
       "a\tb\x01\x1B"
       "c\x7F",
       "a\tbc\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::optional<QString> text = logoText(row.data);
    ASSERT_TRUE(text);
    // Rows without a line break of their own get the one each line is given.
    const QString expected =
        row.expected.isEmpty() || row.expected.endsWith('\n') ? row.expected : row.expected + '\n';
    EXPECT_EQ(*text, expected);
  }
}

TEST(LogoText, BinaryDataIsNoText) {
  const QByteArray binary("GIF89a\0\0\x01", 9);
  EXPECT_FALSE(logoText(binary));
  QTemporaryDir dir;
  ASSERT_TRUE(writeFile(dir.filePath("HEIM.txt"), binary));
  EXPECT_EQ(findTeamLogo(dir.path(), "HEIM").kind, TeamLogo::Kind::None);
}

TEST(LogoText, HugeFileIsCutToAFewLines) {
  QTemporaryDir dir;
  QByteArray huge;
  for (int i = 0; huge.size() < 10 * 1024 * 1024; ++i)
    huge += "Zeile " + QByteArray::number(i) + "\n";
  ASSERT_TRUE(writeFile(dir.filePath("HEIM.txt"), huge));
  const TeamLogo logo = findTeamLogo(dir.path(), "HEIM");
  ASSERT_EQ(logo.kind, TeamLogo::Kind::Text);
  EXPECT_EQ(logo.text.count('\n'), logotext::maxLines);
  EXPECT_TRUE(logo.text.startsWith("Zeile 0\nZeile 1\n"));

  // One endless line: only the bytes read count.
  ASSERT_TRUE(writeFile(dir.filePath("GAST.txt"), QByteArray(10 * 1024 * 1024, 'x')));
  EXPECT_EQ(findTeamLogo(dir.path(), "GAST").text.size(), logotext::maxBytes + 1);
}
