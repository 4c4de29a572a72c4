// Rich text both ways through LibreOffice: it reads what the writer wrote,
// and the reader reads what LibreOffice wrote. Skipped where LibreOffice is
// not installed.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>

#include "RtfReader.h"
#include "RtfWriter.h"
#include "editor/QtTestApp.h"

namespace kovra {
namespace {

using test::TestApp;

QString Soffice() {
  for (const char* name : {"soffice", "libreoffice"}) {
    const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
    if (!path.isEmpty()) return path;
  }
  return {};
}

class RtfLibreOffice : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApp();
    soffice_ = Soffice();
    if (soffice_.isEmpty()) GTEST_SKIP() << "LibreOffice is not installed";
    ASSERT_TRUE(dir_.isValid());
  }

  // Converts input into the folder out with a LibreOffice filter; a profile
  // of this test's own keeps parallel runs apart.
  QString Convert(const QString& input, const QString& filter, const QString& extension) {
    const QString out = dir_.filePath(QStringLiteral("out"));
    QDir().mkpath(out);
    QProcess process;
    process.start(soffice_,
                  {QStringLiteral("-env:UserInstallation=") +
                       QUrl::fromLocalFile(dir_.filePath(QStringLiteral("profile"))).toString(),
                   QStringLiteral("--headless"), QStringLiteral("--norestore"),
                   QStringLiteral("--convert-to"), filter, QStringLiteral("--outdir"), out, input});
    if (!process.waitForFinished(300000)) {
      process.kill();
      process.waitForFinished();
      ADD_FAILURE() << "LibreOffice did not finish";
      return {};
    }
    const QString result = QDir(out).filePath(QFileInfo(input).completeBaseName() + extension);
    EXPECT_TRUE(QFileInfo::exists(result)) << process.readAllStandardError().constData();
    return result;
  }

  QString Write(const QString& name, const QByteArray& bytes) {
    const QString path = dir_.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
  }

  QString soffice_;
  QTemporaryDir dir_;
};

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void BuildDocument(QTextDocument* doc) {
  doc->setIndentWidth(kBulletIndentPixels);
  QTextCursor c(doc);
  QTextCharFormat plain;
  plain.setFontFamilies(QStringList{u"DejaVu Serif"_qs});
  plain.setFontPointSize(12);
  QTextCharFormat bold = plain;
  bold.setFontWeight(QFont::Bold);
  QTextCharFormat italic = plain;
  italic.setFontItalic(true);
  QTextCharFormat underline = plain;
  underline.setFontUnderline(true);
  QTextCharFormat red = plain;
  red.setForeground(QColor(Qt::red));
  QTextCharFormat big = plain;
  big.setFontPointSize(20);

  c.insertText(u"plain "_qs, plain);
  c.insertText(u"bold"_qs, bold);
  c.insertText(u" "_qs, plain);
  c.insertText(u"italic"_qs, italic);
  c.insertText(u" "_qs, plain);
  c.insertText(u"underline"_qs, underline);
  c.insertText(u" "_qs, plain);
  c.insertText(u"red"_qs, red);
  c.insertText(u" "_qs, plain);
  c.insertText(u"big"_qs, big);

  QTextBlockFormat centred;
  centred.setAlignment(Qt::AlignHCenter);
  c.insertBlock(centred);
  c.insertText(u"中文：脚本编辑器"_qs, plain);

  QTextBlockFormat indented;
  indented.setLeftMargin(60);
  c.insertBlock(indented);
  c.insertText(u"indented"_qs, plain);

  QTextBlockFormat normal;
  c.insertBlock(normal);
  c.insertText(u"bullet one"_qs, plain);
  QTextListFormat list;
  list.setStyle(QTextListFormat::ListDisc);
  list.setIndent(1);
  c.createList(list);
  c.insertBlock();
  c.insertText(u"bullet two"_qs, plain);
  c.insertBlock(normal);
  c.insertText(u"end"_qs, plain);
}

TEST_F(RtfLibreOffice, ReadsWhatTheWriterWrote) {
  QTextDocument doc;
  BuildDocument(&doc);
  const QString rtf = Write(QStringLiteral("written.rtf"), WriteRtf(doc));
  const QString text =
      Convert(rtf, QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral(".txt"));
  QString read = QString::fromUtf8(ReadAll(text));
  read.remove(QChar(0xFEFF));
  const QStringList lines = read.split(QRegularExpression(QStringLiteral("\r?\n")));
  ASSERT_GE(lines.size(), 6) << read.toStdString();
  EXPECT_EQ(lines[0], u"plain bold italic underline red big"_qs);
  EXPECT_EQ(lines[1], u"中文：脚本编辑器"_qs);
  EXPECT_EQ(lines[2], u"indented"_qs);
  EXPECT_TRUE(lines[3].endsWith(u"bullet one"_qs)) << lines[3].toStdString();
  EXPECT_TRUE(lines[4].endsWith(u"bullet two"_qs)) << lines[4].toStdString();
  EXPECT_EQ(lines[5], u"end"_qs);
}

TEST_F(RtfLibreOffice, ReaderReadsWhatLibreOfficeWrote) {
  QTextDocument doc;
  BuildDocument(&doc);
  // LibreOffice reads the document as .odt and writes its own RTF.
  const QString rtf = Write(QStringLiteral("source.rtf"), WriteRtf(doc));
  const QString odt = Convert(rtf, QStringLiteral("odt"), QStringLiteral(".odt"));
  const QString back = Convert(odt, QStringLiteral("rtf"), QStringLiteral(".rtf"));
  const QByteArray bytes = ReadAll(back);
  ASSERT_TRUE(LooksLikeRtf(bytes));
  QTextDocument read;
  ReadRtf(bytes, &read);

  std::vector<QString> blocks;
  for (QTextBlock b = read.begin(); b.isValid(); b = b.next()) blocks.push_back(b.text());
  ASSERT_EQ(blocks,
            (std::vector<QString>{u"plain bold italic underline red big"_qs, u"中文：脚本编辑器"_qs,
                                  u"indented"_qs, u"bullet one"_qs, u"bullet two"_qs, u"end"_qs}))
      << bytes.left(4000).constData();

  const auto format_of = [&read](const QString& word) {
    const QTextCursor found = read.find(word);
    EXPECT_FALSE(found.isNull()) << word.toStdString();
    return found.charFormat();
  };
  EXPECT_EQ(format_of(u"plain"_qs).fontWeight(), QFont::Normal);
  EXPECT_EQ(format_of(u"bold"_qs).fontWeight(), QFont::Bold);
  EXPECT_TRUE(format_of(u"italic"_qs).fontItalic());
  EXPECT_TRUE(format_of(u"underline"_qs).fontUnderline());
  EXPECT_EQ(format_of(u"red"_qs).foreground().color(), QColor(Qt::red));
  EXPECT_EQ(format_of(u"big"_qs).fontPointSize(), 20.0);
  EXPECT_EQ(format_of(u"plain"_qs).fontPointSize(), 12.0);
  EXPECT_EQ(format_of(u"plain"_qs).fontFamilies().toStringList(), QStringList{u"DejaVu Serif"_qs});

  const QTextBlock centred = read.begin().next();
  EXPECT_EQ(centred.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
  const QTextBlock indented = centred.next();
  EXPECT_NEAR(indented.blockFormat().leftMargin(), 60, 1);
  const QTextBlock one = indented.next();
  ASSERT_NE(one.textList(), nullptr);
  EXPECT_EQ(one.textList(), one.next().textList());
  EXPECT_EQ(one.next().next().textList(), nullptr);
}

}  // namespace
}  // namespace kovra
