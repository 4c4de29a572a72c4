#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>

#include <random>
#include <string>
#include <vector>

#include "RtfReader.h"
#include "RtfWriter.h"
#include "editor/QtTestApp.h"

namespace kovra {
namespace {

using test::TestApp;

QString Text(const QTextDocument& doc) {
  return doc.toRawText();
}

std::vector<QString> Blocks(const QTextDocument& doc) {
  std::vector<QString> blocks;
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) blocks.push_back(b.text());
  return blocks;
}

void Read(const QByteArray& rtf, QTextDocument* doc) {
  ReadRtf(rtf, doc);
}

// The format of the character at a 0-based position of the document.
QTextCharFormat FormatAt(const QTextDocument& doc, int position) {
  QTextCursor c(const_cast<QTextDocument*>(&doc));
  c.setPosition(position + 1);
  return c.charFormat();
}

TEST(RtfDetect, LooksLikeRtf) {
  const struct {
    const char* bytes;
    bool rtf;
  } cases[] = {{"{\\rtf1\\ansi x}", true},
               {" \r\n{\\rtf1}", true},
               {"{\\rtf", true},
               {"rtf", false},
               {"{\\rt", false},
               {"", false},
               {"\xEF\xBB\xBF{\\rtf1}", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(LooksLikeRtf(QByteArrayView(c.bytes)), c.rtf);
  }
}

// Text that other writers produce, and what the reader keeps of it.
TEST(RtfRead, KeepsTheTextOfForeignDocuments) {
  TestApp();
  const struct {
    const char* rtf;
    std::vector<QString> blocks;
  } cases[] = {
      // Code page 936 bytes, by the font's character set and by \ansicpg.
      {"{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}\\f0 "
       "\\'d6\\'d0\\'ce\\'c4\\par}",
       {u"中文"_qs}},
      {"{\\rtf1\\ansi\\ansicpg936 \\'d6\\'d0x}", {u"中x"_qs}},
      // Code page 1252 when nothing else is said.
      {"{\\rtf1\\ansi caf\\'e9}", {u"café"_qs}},
      // \uN replaces its fallback; \uc says how long the fallback is.
      {"{\\rtf1\\ansi\\uc1 a\\u20013?b\\uc2\\u25991\\'ce\\'c4c}", {u"a中b文c"_qs}},
      {"{\\rtf1\\uc1\\u-10179?\\u-8704?}", {u"\U0001F600"_qs}},
      {"{\\rtf1\\uc0\\u20013 x}", {u"中x"_qs}},
      // A group ends the fallback early.
      {"{\\rtf1\\uc3{\\u20013 a}b}", {u"中b"_qs}},
      // Unknown destinations marked \* go; other unknown words are ignored.
      {"{\\rtf1 a{\\*\\foo hidden {nested}}b}", {u"ab"_qs}},
      {"{\\rtf1 a\\foo b{\\bar c}\\baz99 d}", {u"abcd"_qs}},
      {"{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}}", {u"link"_qs}},
      {"{\\rtf1{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}}{\\header H}{\\pict 0a0b}x}",
       {u"x"_qs}},
      {"{\\rtf1 {\\upr{ansi}{\\*\\ud{uni}}}}", {u"uni"_qs}},
      // Escapes and special characters.
      {"{\\rtf1 \\{a\\}\\\\b\\tab c\\line d\\~e\\emdash}", {u"{a}\\b\tc\u2028d\u00A0e\u2014"_qs}},
      // Paragraphs: a \par at the end opens no new paragraph.
      {"{\\rtf1 a\\par b\\par}", {u"a"_qs, u"b"_qs}},
      {"{\\rtf1 a\\par\\par}", {u"a"_qs, QString()}},
      {"{\\rtf1 a\\par b}", {u"a"_qs, u"b"_qs}},
      {"{\\rtf1 a\\\r\nb}", {u"a"_qs, u"b"_qs}},
      // Table cells become tab-separated text, rows paragraphs.
      {"{\\rtf1\\trowd a\\cell b\\cell\\row c\\par}", {u"a\tb"_qs, u"c"_qs}},
      // Binary data is passed over.
      {"{\\rtf1 a\\bin3 {}\\b}", {u"ab"_qs}},
      // Numbered list labels stay as text; bullets become bullets.
      {"{\\rtf1{\\listtext 1.\\tab}\\ls2 one\\par}", {u"1.\tone"_qs}},
      {"{\\rtf1{\\listtext\\'b7\\tab}\\ls1 item\\par}", {u"item"_qs}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rtf);
    QTextDocument doc;
    Read(QByteArray(c.rtf), &doc);
    EXPECT_EQ(Blocks(doc), c.blocks);
    EXPECT_FALSE(doc.isModified());
    EXPECT_FALSE(doc.isUndoAvailable());
  }
}

TEST(RtfRead, CharacterFormats) {
  TestApp();
  QTextDocument doc;
  Read(QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset134 SimSun;}}"
                  "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
                  "\\f0\\fs20 A\\b B\\b0 \\i C\\i0 \\ul D\\ulnone \\strike E\\strike0 "
                  "\\cf1 F\\cf0 \\highlight2 G\\highlight0 \\f1\\fs40 H{\\b I}J\\plain K}"),
       &doc);
  ASSERT_EQ(Text(doc), u"ABCDEFGHIJK"_qs);
  EXPECT_EQ(FormatAt(doc, 0).fontFamilies().toStringList(), QStringList{u"Arial"_qs});
  EXPECT_EQ(FormatAt(doc, 0).fontPointSize(), 10.0);
  EXPECT_EQ(FormatAt(doc, 0).fontWeight(), QFont::Normal);
  EXPECT_EQ(FormatAt(doc, 1).fontWeight(), QFont::Bold);
  EXPECT_TRUE(FormatAt(doc, 2).fontItalic());
  EXPECT_TRUE(FormatAt(doc, 3).fontUnderline());
  EXPECT_TRUE(FormatAt(doc, 4).fontStrikeOut());
  EXPECT_EQ(FormatAt(doc, 5).foreground().color(), QColor(Qt::red));
  EXPECT_EQ(FormatAt(doc, 6).foreground().style(), Qt::NoBrush);
  EXPECT_EQ(FormatAt(doc, 6).background().color(), QColor(Qt::blue));
  EXPECT_EQ(FormatAt(doc, 7).fontFamilies().toStringList(), QStringList{u"SimSun"_qs});
  EXPECT_EQ(FormatAt(doc, 7).fontPointSize(), 20.0);
  EXPECT_EQ(FormatAt(doc, 8).fontWeight(), QFont::Bold);
  EXPECT_EQ(FormatAt(doc, 9).fontWeight(), QFont::Normal);  // the group ended
  EXPECT_EQ(FormatAt(doc, 10).fontPointSize(), 12.0);       // \plain: the default size
  EXPECT_FALSE(FormatAt(doc, 10).fontUnderline());
}

TEST(RtfRead, ParagraphFormats) {
  TestApp();
  QTextDocument doc;
  Read(QByteArray(
           "{\\rtf1\\pard\\qc\\li1500\\ri300\\fi-150 centre\\par "
           "right\\qr\\par"  // properties stay until \pard; the last one counts
           "\\pard\\qj justified\\par"
           "\\pard{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}\\fi-300\\li600 one\\par"
           "{\\pntext\\'b7\\tab}two\\par"
           "\\pard plain\\par}"),
       &doc);
  ASSERT_EQ(Blocks(doc), (std::vector<QString>{u"centre"_qs, u"right"_qs, u"justified"_qs,
                                               u"one"_qs, u"two"_qs, u"plain"_qs}));
  const QTextBlock centre = doc.begin();
  EXPECT_EQ(centre.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
  EXPECT_EQ(centre.blockFormat().leftMargin(), 100);
  EXPECT_EQ(centre.blockFormat().rightMargin(), 20);
  EXPECT_EQ(centre.blockFormat().textIndent(), -10);
  const QTextBlock right = centre.next();
  EXPECT_EQ(right.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
  EXPECT_EQ(right.blockFormat().leftMargin(), 100);
  EXPECT_EQ(right.next().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
  const QTextBlock one = right.next().next();
  const QTextBlock two = one.next();
  ASSERT_NE(one.textList(), nullptr);
  EXPECT_EQ(one.textList(), two.textList());
  EXPECT_EQ(one.textList()->format().style(), QTextListFormat::ListDisc);
  EXPECT_EQ(one.blockFormat().leftMargin(), 600 / kTwipsPerPixel - kBulletIndentPixels);
  EXPECT_EQ(two.next().textList(), nullptr);
}

// A document with everything the editor shows, built the way editing does.
void BuildRichDocument(QTextDocument* doc) {
  doc->setIndentWidth(kBulletIndentPixels);
  QTextCursor c(doc);
  QTextCharFormat plain;
  plain.setFontFamilies(QStringList{u"DejaVu Sans"_qs});
  plain.setFontPointSize(10);
  QTextCharFormat bold = plain;
  bold.setFontWeight(QFont::Bold);
  QTextCharFormat styled = plain;
  styled.setFontItalic(true);
  styled.setFontUnderline(true);
  styled.setFontStrikeOut(true);
  styled.setForeground(QColor(0x12, 0x34, 0x56));
  styled.setBackground(QColor(Qt::yellow));
  QTextCharFormat chinese;
  chinese.setFontFamilies(QStringList{u"文泉驿微米黑"_qs});
  chinese.setFontPointSize(15.5);

  QTextBlockFormat centred;
  centred.setAlignment(Qt::AlignHCenter);
  centred.setLeftMargin(40);
  centred.setRightMargin(20);
  centred.setTextIndent(-12);
  c.setBlockFormat(centred);
  c.insertText(u"Plain "_qs, plain);
  c.insertText(u"bold"_qs, bold);
  c.insertText(u" styled {x}\\y"_qs, styled);

  QTextBlockFormat right;
  right.setAlignment(Qt::AlignRight);
  c.insertBlock(right);
  c.insertText(u"中文：测试\t€ ไทย \U0001F600 a\u2028b "_qs + QChar(0xDC81) + u"A"_qs, chinese);

  QTextBlockFormat normal;
  c.insertBlock(normal);
  QTextListFormat list;
  list.setStyle(QTextListFormat::ListDisc);
  list.setIndent(1);
  c.insertText(u"first bullet"_qs, plain);
  c.createList(list);
  c.insertBlock();
  c.insertText(u"second bullet"_qs, plain);
  c.insertBlock(normal);
  c.insertText(u"after the list"_qs, plain);
  c.insertBlock(normal);  // an empty last paragraph
}

void ExpectSameDocument(const QTextDocument& a, const QTextDocument& b) {
  ASSERT_EQ(Blocks(a), Blocks(b));
  for (QTextBlock x = a.begin(), y = b.begin(); x.isValid(); x = x.next(), y = y.next()) {
    SCOPED_TRACE(x.text().toStdString());
    EXPECT_EQ(x.blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              y.blockFormat().alignment() & Qt::AlignHorizontal_Mask);
    EXPECT_EQ(x.blockFormat().leftMargin(), y.blockFormat().leftMargin());
    EXPECT_EQ(x.blockFormat().rightMargin(), y.blockFormat().rightMargin());
    EXPECT_EQ(x.textList() != nullptr, y.textList() != nullptr);
    if (x.textList() == nullptr) {
      EXPECT_EQ(x.blockFormat().textIndent(), y.blockFormat().textIndent());
    }
    for (int i = 0; i < x.length() - 1; ++i) {
      const QTextCharFormat fx = FormatAt(a, x.position() + i);
      const QTextCharFormat fy = FormatAt(b, y.position() + i);
      SCOPED_TRACE(i);
      EXPECT_EQ(fx.font().resolve(a.defaultFont()).family(),
                fy.font().resolve(b.defaultFont()).family());
      EXPECT_EQ(fx.fontPointSize(), fy.fontPointSize());
      EXPECT_EQ(fx.fontWeight() > QFont::Medium, fy.fontWeight() > QFont::Medium);
      EXPECT_EQ(fx.fontItalic(), fy.fontItalic());
      EXPECT_EQ(fx.fontUnderline(), fy.fontUnderline());
      EXPECT_EQ(fx.fontStrikeOut(), fy.fontStrikeOut());
      EXPECT_EQ(fx.foreground().style() == Qt::NoBrush, fy.foreground().style() == Qt::NoBrush);
      if (fx.foreground().style() != Qt::NoBrush) {
        EXPECT_EQ(fx.foreground().color(), fy.foreground().color());
      }
      EXPECT_EQ(fx.background().style() == Qt::NoBrush, fy.background().style() == Qt::NoBrush);
      if (fx.background().style() != Qt::NoBrush) {
        EXPECT_EQ(fx.background().color(), fy.background().color());
      }
    }
  }
}

TEST(RtfRoundTrip, WrittenDocumentReadsBackTheSame) {
  TestApp();
  QTextDocument original;
  BuildRichDocument(&original);
  const QByteArray rtf = WriteRtf(original);
  QTextDocument copy;
  ReadRtf(rtf, &copy);
  ExpectSameDocument(original, copy);
  // A second round changes nothing more.
  EXPECT_EQ(WriteRtf(copy), rtf);
}

TEST(RtfWrite, CodePage936WithUnicode) {
  TestApp();
  QTextDocument doc;
  QTextCursor(&doc).insertText(u"中a\u0E01"_qs + QChar(0xDC81) + u"\U0001F600"_qs);
  const QByteArray rtf = WriteRtf(doc);
  EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg936"));
  EXPECT_TRUE(rtf.contains("\\fcharset134"));
  // Each character: \uN, then its code page 936 bytes for older readers.
  EXPECT_TRUE(rtf.contains("\\uc2\\u20013\\'d6\\'d0a")) << rtf.constData();
  EXPECT_TRUE(rtf.contains("\\uc1\\u3585 ?")) << rtf.constData();
  // A byte that was no valid text goes out as that byte.
  EXPECT_TRUE(rtf.contains("\\'81{}")) << rtf.constData();
  EXPECT_TRUE(rtf.contains("\\u-10179 ?\\u-8704 ?")) << rtf.constData();
  for (char c : rtf) EXPECT_LT(static_cast<unsigned char>(c), 0x80);
}

// Hostile input: read as far as it goes, text kept, nothing unbounded.
TEST(RtfRead, GarbageIsBounded) {
  TestApp();
  const std::string deep = std::string(100000, '{') + "x" + std::string(100000, '}');
  const struct {
    std::string rtf;
    QString text;
  } cases[] = {
      {"{\\rtf1 abc", u"abc"_qs},
      {"{\\rtf1 a}}}}b", u"a"_qs},
      {"}}{\\rtf1 a}", u"a"_qs},
      {"{\\rtf1 " + deep + "}", u"x"_qs},
      {"{\\rtf1\\fs99999999999999999999999 big}", u"big"_qs},
      {"{\\rtf1\\li-99999999999\\fi99999999999 x}", u"x"_qs},
      {"{\\rtf1\\u99999999999 ?x}", u"\uFFFDx"_qs},
      {"{\\rtf1\\uc999999999\\u65 abcdef}", u"A"_qs},
      {"{\\rtf1 a\\bin99999999999 bcd}", u"a"_qs},
      {"{\\rtf1 a\\bin-5 b}", u"ab"_qs},
      {"{\\rtf1 a\\'", u"a"_qs},
      {"{\\rtf1 a\\'4", u"a4"_qs},
      {"{\\rtf1 a\\", u"a"_qs},
      {"{\\rtf1 a\\" + std::string(5000, 'z') + " b}", u"ab"_qs},
      {"{\\rtf1{\\fonttbl{\\f1 never closed", QString()},
      {"{\\rtf1{\\colortbl\\red999;}\\cf1 x\\cf99 y\\cf-1 z}", u"xyz"_qs},
      {std::string("{\\rtf1 a\0b}", 11), u"ab"_qs},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rtf.substr(0, 60));
    QTextDocument doc;
    ReadRtf(QByteArrayView(c.rtf.data(), static_cast<qsizetype>(c.rtf.size())), &doc);
    EXPECT_EQ(Text(doc), c.text);
  }
}

TEST(RtfRead, RandomBytesNeverBreakTheReader) {
  TestApp();
  std::mt19937 random(20240611);
  const char alphabet[] = "{}\\\\\\'*abcfuinrtlpsq0123456789- ;\x81\xd6\xd0\r\n";
  for (int round = 0; round < 300; ++round) {
    std::string rtf = "{\\rtf1";
    const int length = static_cast<int>(random() % 400);
    for (int i = 0; i < length; ++i) rtf.push_back(alphabet[random() % (sizeof alphabet - 1)]);
    QTextDocument doc;
    ReadRtf(QByteArrayView(rtf.data(), static_cast<qsizetype>(rtf.size())), &doc);
    // Whatever was read writes out and reads back as the same text.
    QTextDocument again;
    ReadRtf(WriteRtf(doc), &again);
    ASSERT_EQ(Blocks(again), Blocks(doc)) << rtf;
  }
}

}  // namespace
}  // namespace kovra
