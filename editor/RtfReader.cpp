#include "RtfReader.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/CodePage.h"

namespace kovra {
namespace {

// Groups nested deeper than this share the state of the deepest one.
constexpr size_t kMaxDepth = 200;
// Bounds for control word parameters that size or repeat something.
constexpr int kMaxParam = 1000000000;
constexpr int kMaxUnicodeSkip = 16;
constexpr int kMaxHalfPoints = 3276;
constexpr int kMaxIndentTwips = 31680;  // 22 inches
constexpr size_t kMaxWordLength = 32;

enum class TDest : uint8_t {
  kBody,        // text of the document
  kSkip,        // nothing in here is read
  kFontTable,   // font entries
  kColorTable,  // colour entries
  kMarker,      // the label of a list paragraph (\pntext, \listtext)
  kPn,          // old-style paragraph numbering settings
  kAnsiAlt,     // the 8-bit twin of a \ud group: skipped
};

enum class TAlign : uint8_t { kLeft, kCenter, kRight, kJustify };

struct TCharProps {
  int font = -1;  // -1: the default font (\deff)
  int half_points = 24;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike = false;
  int color = 0;  // colour table index; 0 is the automatic colour
  int highlight = 0;
};

struct TParaProps {
  TAlign align = TAlign::kLeft;
  int left = 0;  // twips
  int right = 0;
  int first = 0;
  bool bullet = false;
};

struct TState {
  TDest dest = TDest::kBody;
  TDest unicode_dest = TDest::kBody;  // where a \ud group inside \upr reads to
  TCharProps chr;
  TParaProps para;
  int uc = 1;
  int pn_kind = 0;  // 1 bullet, 2 numbered
};

struct TFont {
  QString name;
  int charset = -1;
};

struct TColorEntry {
  bool valid = false;
  QColor color;
};

int Clamp(int v, int lo, int hi) {
  return std::min(std::max(v, lo), hi);
}

bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Windows character set number of a font to its code page; 0 for "the
// document's code page".
int CharsetCodePage(int charset) {
  switch (charset) {
    case 2:
      return 1252;  // symbol fonts: the bytes are glyph numbers
    case 77:
      return 10000;
    case 128:
      return 932;
    case 129:
      return 949;
    case 130:
      return 1361;
    case 134:
      return 936;
    case 136:
      return 950;
    case 161:
      return 1253;
    case 162:
      return 1254;
    case 163:
      return 1258;
    case 177:
      return 1255;
    case 178:
      return 1256;
    case 186:
      return 1257;
    case 204:
      return 1251;
    case 222:
      return 874;
    case 238:
      return 1250;
    case 254:
      return 437;
    case 255:
      return 850;
    default:
      return 0;
  }
}

// Destinations whose content never belongs to the body text.
bool IsSkippedDestination(std::string_view word) {
  static constexpr std::string_view kSkipped[] = {"stylesheet",
                                                  "info",
                                                  "pict",
                                                  "header",
                                                  "headerl",
                                                  "headerr",
                                                  "headerf",
                                                  "footer",
                                                  "footerl",
                                                  "footerr",
                                                  "footerf",
                                                  "xe",
                                                  "tc",
                                                  "txe",
                                                  "rxe",
                                                  "fldinst",
                                                  "nonshppict",
                                                  "listtable",
                                                  "listoverridetable",
                                                  "themedata",
                                                  "colorschememapping",
                                                  "datastore",
                                                  "latentstyles",
                                                  "generator",
                                                  "rsidtbl",
                                                  "xmlnstbl",
                                                  "mmathPr",
                                                  "revtbl",
                                                  "filetbl",
                                                  "pgdsctbl",
                                                  "docvar",
                                                  "userprops",
                                                  "objdata",
                                                  "bkmkstart",
                                                  "bkmkend",
                                                  "template",
                                                  "pnseclvl",
                                                  "shpinst",
                                                  "shppict",
                                                  "fchars",
                                                  "lchars",
                                                  "atnid",
                                                  "atnauthor",
                                                  "annotation",
                                                  "passwordhash"};
  for (std::string_view s : kSkipped) {
    if (s == word) return true;
  }
  return false;
}

bool HasLetterOrDigit(const QString& s) {
  for (QChar c : s) {
    if (c.isLetterOrNumber()) return true;
  }
  return false;
}

class TRtfReader {
 public:
  TRtfReader(QByteArrayView in, QTextDocument* doc) : in_(in), cursor_(doc) {
    stack_.emplace_back();
  }

  void Read() {
    cursor_.beginEditBlock();
    while (pos_ < in_.size() && !done_) {
      const char c = in_[pos_];
      switch (c) {
        case '{':
          ++pos_;
          FlushBytes();
          FlushRun();
          OpenGroup();
          break;
        case '}':
          ++pos_;
          FlushBytes();
          FlushRun();
          CloseGroup();
          break;
        case '\\':
          ReadControl();
          break;
        case '\r':
        case '\n':
          ++pos_;
          break;
        default:
          ++pos_;
          TextByte(c);
          break;
      }
    }
    FlushBytes();
    FlushRun();
    // A list label after the last \par still opens its paragraph.
    if (block_pending_ && !marker_.isEmpty()) StartBlock();
    if (!block_pending_) FinishBlock();
    cursor_.endEditBlock();
  }

 private:
  TState& Top() { return stack_.back(); }

  void OpenGroup() {
    skip_ = 0;
    ignorable_ = false;
    if (stack_.size() >= kMaxDepth) {
      ++overflow_;
      return;
    }
    stack_.push_back(stack_.back());
  }

  void CloseGroup() {
    skip_ = 0;
    ignorable_ = false;
    if (overflow_ > 0) {
      --overflow_;
      return;
    }
    if (stack_.size() <= 1) return;  // a stray '}' before the document
    if (stack_.size() == 2) {        // the document's own group ends it
      done_ = true;
      return;
    }
    const TState closed = stack_.back();
    stack_.pop_back();
    if (closed.dest == TDest::kFontTable) CommitFont();
    if (closed.dest == TDest::kPn && Top().dest != TDest::kPn && closed.pn_kind != 0) {
      Top().para.bullet = closed.pn_kind == 1;
    }
  }

  void ReadControl() {
    ++pos_;  // the backslash
    if (pos_ >= in_.size()) return;
    const char c = in_[pos_];
    if (IsLetter(c)) {
      std::string word;
      while (pos_ < in_.size() && IsLetter(in_[pos_])) {
        if (word.size() <= kMaxWordLength) word.push_back(in_[pos_]);
        ++pos_;
      }
      bool has_param = false;
      bool negative = false;
      int64_t param = 0;
      if (pos_ < in_.size() && in_[pos_] == '-' && pos_ + 1 < in_.size() &&
          IsDigit(in_[pos_ + 1])) {
        negative = true;
        ++pos_;
      }
      while (pos_ < in_.size() && IsDigit(in_[pos_])) {
        has_param = true;
        param = std::min<int64_t>(param * 10 + (in_[pos_] - '0'), kMaxParam);
        ++pos_;
      }
      if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
      const int n = static_cast<int>(negative ? -param : param);
      if (word == "bin") {
        // Binary data: its bytes are not RTF and are passed over.
        const int64_t count = std::min<int64_t>(std::max(n, 0), in_.size() - pos_);
        pos_ += count;
        return;
      }
      FlushBytes();
      Word(word, has_param, n);
      return;
    }
    ++pos_;
    if (c == '\'') {
      int value = -1;
      if (pos_ + 1 < in_.size() && HexValue(in_[pos_]) >= 0 && HexValue(in_[pos_ + 1]) >= 0) {
        value = HexValue(in_[pos_]) * 16 + HexValue(in_[pos_ + 1]);
        pos_ += 2;
      }
      ignorable_ = false;
      if (value >= 0) TextByte(static_cast<char>(value));
      return;
    }
    FlushBytes();
    Symbol(c);
  }

  // One byte of text: kept for decoding with the code page in force.
  void TextByte(char c) {
    ignorable_ = false;
    if (skip_ > 0) {
      --skip_;
      return;
    }
    if (c == '\0') return;
    pending_.push_back(c);
  }

  void FlushBytes() {
    if (pending_.empty()) return;
    const int cp = CurrentCodePage();
    std::u16string wide;
    if (const TCodePage* page = CodePageFor(cp)) {
      wide = page->Decode(pending_);
    } else {
      for (char b : pending_) wide.push_back(static_cast<unsigned char>(b));
    }
    pending_.clear();
    AppendText(QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size())));
  }

  void AppendChar(char16_t c) {
    if (skip_ > 0) {
      --skip_;
      return;
    }
    AppendText(QString(QChar(c)));
  }

  void AppendText(const QString& text) {
    switch (Top().dest) {
      case TDest::kBody:
        for (QChar c : text) {
          const char16_t u = c.unicode();
          // NUL and line ends in the source are not text; the characters Qt
          // reads as paragraph or frame marks would break the block structure.
          if (u == 0 || u == u'\r' || u == u'\n' || u == 0xFDD0 || u == 0xFDD1) continue;
          if (block_pending_) StartBlock();
          if (cell_pending_) {
            run_.push_back(QChar(u'\t'));
            cell_pending_ = false;
          }
          run_.push_back(u == 0x2029 ? QChar(0x2028) : c);
        }
        break;
      case TDest::kMarker:
        marker_ += text;
        marker_format_ = CurrentFormat();
        break;
      case TDest::kFontTable:
        for (QChar c : text) {
          if (c == u';') {
            CommitFont();
          } else {
            font_name_.push_back(c);
          }
        }
        break;
      case TDest::kColorTable:
        for (QChar c : text) {
          if (c == u';') {
            colors_.push_back(color_set_ ? TColorEntry{true, QColor(red_, green_, blue_)}
                                         : TColorEntry{});
            red_ = green_ = blue_ = 0;
            color_set_ = false;
          }
        }
        break;
      default:
        break;
    }
  }

  void CommitFont() {
    if (!font_open_) return;
    const QString name = font_name_.trimmed();
    if (!name.isEmpty()) fonts_[font_id_] = TFont{name, font_charset_};
    font_open_ = false;
    font_name_.clear();
  }

  void Symbol(char c) {
    ignorable_ = (c == '*');
    if (c == '*') return;
    switch (c) {
      case '\\':
      case '{':
      case '}':
        AppendChar(static_cast<char16_t>(c));
        return;
      case '~':
        AppendChar(0x00A0);
        return;
      case '-':
        AppendChar(0x00AD);
        return;
      case '_':
        AppendChar(0x2011);
        return;
      case '\r':
      case '\n':
        if (skip_ > 0) {
          --skip_;
          return;
        }
        EndParagraph();
        return;
      default:
        if (skip_ > 0) --skip_;
        return;
    }
  }

  void Word(const std::string& w, bool has_param, int n) {
    const bool ignorable = ignorable_;
    ignorable_ = false;
    TState& s = Top();

    // Destinations first: they decide where the rest of the group goes.
    if (w == "fonttbl") {
      s.dest = TDest::kFontTable;
      return;
    }
    if (w == "colortbl") {
      s.dest = TDest::kColorTable;
      red_ = green_ = blue_ = 0;
      color_set_ = false;
      return;
    }
    if (w == "pntext" || w == "listtext") {
      if (s.dest == TDest::kBody) {
        s.dest = TDest::kMarker;
        marker_.clear();
      } else {
        s.dest = TDest::kSkip;
      }
      return;
    }
    if (w == "pn") {
      s.dest = s.dest == TDest::kBody ? TDest::kPn : TDest::kSkip;
      s.pn_kind = 0;
      return;
    }
    if (w == "upr") {
      s.unicode_dest = s.dest;
      s.dest = TDest::kAnsiAlt;
      return;
    }
    if (w == "ud") {
      s.dest = s.dest == TDest::kAnsiAlt ? s.unicode_dest : TDest::kSkip;
      return;
    }
    if (IsSkippedDestination(w) || (ignorable && s.dest != TDest::kSkip)) {
      s.dest = TDest::kSkip;
      return;
    }

    if (s.dest == TDest::kSkip || s.dest == TDest::kAnsiAlt) return;
    if (skip_ > 0) {
      // A control word inside the fallback of \uN counts as one character.
      --skip_;
      return;
    }

    if (w == "u") {
      // A signed 16-bit number; anything else stands for no character.
      const char16_t unit =
          n < -32768 || n > 65535
              ? char16_t{0xFFFD}
              : static_cast<char16_t>(static_cast<uint16_t>(n < 0 ? n + 65536 : n));
      AppendChar(unit);
      skip_ = s.uc;
      return;
    }
    if (w == "uc") {
      s.uc = Clamp(n, 0, kMaxUnicodeSkip);
      return;
    }

    switch (s.dest) {
      case TDest::kFontTable:
        if (w == "f") {
          CommitFont();
          font_open_ = true;
          font_id_ = n;
          font_charset_ = -1;
          font_name_.clear();
        } else if (w == "fcharset") {
          font_charset_ = n;
        }
        return;
      case TDest::kColorTable:
        if (w == "red") red_ = Clamp(n, 0, 255), color_set_ = true;
        if (w == "green") green_ = Clamp(n, 0, 255), color_set_ = true;
        if (w == "blue") blue_ = Clamp(n, 0, 255), color_set_ = true;
        return;
      case TDest::kPn:
        if (w == "pnlvlblt") {
          s.pn_kind = 1;
        } else if (w == "pnlvlbody" || w == "pndec" || w == "pnucltr" || w == "pnlcltr" ||
                   w == "pnucrm" || w == "pnlcrm") {
          if (s.pn_kind == 0) s.pn_kind = 2;
        }
        return;
      default:
        break;
    }

    FlushRun();
    // Document settings.
    if (w == "ansicpg") {
      ansi_cp_ = n > 0 ? n : 1252;
    } else if (w == "deff") {
      deff_ = n;
    }
    // Paragraph ends and special characters.
    else if (w == "par" || w == "row" || w == "nestrow" || w == "page" || w == "sect") {
      EndParagraph();
    } else if (w == "cell" || w == "nestcell") {
      if (s.dest == TDest::kBody) cell_pending_ = true;
    } else if (w == "line") {
      AppendChar(0x2028);
    } else if (w == "tab") {
      AppendChar(u'\t');
    } else if (w == "emdash") {
      AppendChar(0x2014);
    } else if (w == "endash") {
      AppendChar(0x2013);
    } else if (w == "bullet") {
      AppendChar(0x2022);
    } else if (w == "lquote") {
      AppendChar(0x2018);
    } else if (w == "rquote") {
      AppendChar(0x2019);
    } else if (w == "ldblquote") {
      AppendChar(0x201C);
    } else if (w == "rdblquote") {
      AppendChar(0x201D);
    } else if (w == "emspace") {
      AppendChar(0x2003);
    } else if (w == "enspace") {
      AppendChar(0x2002);
    } else if (w == "qmspace") {
      AppendChar(0x2005);
    } else if (w == "zwj") {
      AppendChar(0x200D);
    } else if (w == "zwnj") {
      AppendChar(0x200C);
    }
    // Paragraph properties.
    else if (w == "pard") {
      s.para = TParaProps{};
    } else if (w == "ql") {
      s.para.align = TAlign::kLeft;
    } else if (w == "qc") {
      s.para.align = TAlign::kCenter;
    } else if (w == "qr") {
      s.para.align = TAlign::kRight;
    } else if (w == "qj") {
      s.para.align = TAlign::kJustify;
    } else if (w == "li") {
      s.para.left = Clamp(n, -kMaxIndentTwips, kMaxIndentTwips);
    } else if (w == "ri") {
      s.para.right = Clamp(n, -kMaxIndentTwips, kMaxIndentTwips);
    } else if (w == "fi") {
      s.para.first = Clamp(n, -kMaxIndentTwips, kMaxIndentTwips);
    } else if (w == "ls") {
      s.para.bullet = n > 0;
    }
    // Character properties.
    else if (w == "plain") {
      s.chr = TCharProps{};
    } else if (w == "f") {
      s.chr.font = n;
    } else if (w == "fs") {
      s.chr.half_points = n > 0 ? std::min(n, kMaxHalfPoints) : 24;
    } else if (w == "b") {
      s.chr.bold = !(has_param && n == 0);
    } else if (w == "i") {
      s.chr.italic = !(has_param && n == 0);
    } else if (w == "strike" || w == "striked") {
      s.chr.strike = !(has_param && n == 0);
    } else if (w == "ulnone") {
      s.chr.underline = false;
    } else if (w.rfind("ul", 0) == 0 && w != "ulc") {
      s.chr.underline = !(has_param && n == 0);
    } else if (w == "cf") {
      s.chr.color = n;
    } else if (w == "highlight" || w == "cb" || w == "chcbpat") {
      s.chr.highlight = n;
    }
  }

  int CurrentCodePage() {
    int charset = -1;
    if (Top().dest == TDest::kFontTable) {
      charset = font_open_ ? font_charset_ : -1;
    } else {
      const int id = Top().chr.font >= 0 ? Top().chr.font : deff_;
      const auto it = fonts_.find(id);
      if (it != fonts_.end()) charset = it->second.charset;
    }
    const int cp = CharsetCodePage(charset);
    return cp != 0 ? cp : ansi_cp_;
  }

  const TCodePage* CodePageFor(int cp) {
    if (cp == 936) return &TCodePage::Cp936();
    auto it = code_pages_.find(cp);
    if (it == code_pages_.end()) {
      std::string error;
      it = code_pages_.emplace(cp, TCodePage::Load(std::to_string(cp), &error)).first;
    }
    return it->second.get();
  }

  QTextCharFormat CurrentFormat() const {
    const TCharProps& c = stack_.back().chr;
    QTextCharFormat f;
    const auto font = fonts_.find(c.font >= 0 ? c.font : deff_);
    if (font != fonts_.end()) f.setFontFamilies(QStringList{font->second.name});
    f.setFontPointSize(c.half_points / 2.0);
    f.setFontWeight(c.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(c.italic);
    f.setFontUnderline(c.underline);
    f.setFontStrikeOut(c.strike);
    if (c.color > 0 && c.color < static_cast<int>(colors_.size()) && colors_[c.color].valid) {
      f.setForeground(colors_[c.color].color);
    }
    if (c.highlight > 0 && c.highlight < static_cast<int>(colors_.size()) &&
        colors_[c.highlight].valid) {
      f.setBackground(colors_[c.highlight].color);
    }
    return f;
  }

  void FlushRun() {
    if (run_.isEmpty()) return;
    cursor_.insertText(run_, CurrentFormat());
    run_.clear();
  }

  // The next paragraph begins once it has content: a \par at the very end of
  // the document ends the last paragraph and opens none.
  void StartBlock() {
    cursor_.insertBlock(QTextBlockFormat(), QTextCharFormat());
    block_pending_ = false;
  }

  void EndParagraph() {
    if (Top().dest != TDest::kBody) return;
    FlushRun();
    if (block_pending_) StartBlock();
    FinishBlock();
    block_pending_ = true;
    cell_pending_ = false;
  }

  // Gives the paragraph the cursor is in the properties in force at its end.
  void FinishBlock() {
    const TParaProps& p = stack_.back().para;
    bool bullet = p.bullet;
    if (!marker_.isEmpty()) {
      // A label with letters or digits is a numbered list's: it stays as text.
      bullet = !HasLetterOrDigit(marker_);
      if (!bullet) {
        QTextCursor at(cursor_.block());
        at.insertText(marker_, marker_format_);
      }
      marker_.clear();
    }
    QTextBlockFormat f;
    switch (p.align) {
      case TAlign::kLeft:
        f.setAlignment(Qt::AlignLeft);
        break;
      case TAlign::kCenter:
        f.setAlignment(Qt::AlignHCenter);
        break;
      case TAlign::kRight:
        f.setAlignment(Qt::AlignRight);
        break;
      case TAlign::kJustify:
        f.setAlignment(Qt::AlignJustify);
        break;
    }
    int left = std::max(0, p.left) / kTwipsPerPixel;
    int first = p.first / kTwipsPerPixel;
    if (bullet) {
      left = std::max(0, left - kBulletIndentPixels);
      first = 0;
    }
    f.setLeftMargin(left);
    f.setRightMargin(std::max(0, p.right) / kTwipsPerPixel);
    f.setTextIndent(first);
    cursor_.setBlockFormat(f);
    if (bullet) {
      const QTextBlock previous = cursor_.block().previous();
      if (previous.isValid() && previous.textList() != nullptr &&
          previous.textList()->format().style() == QTextListFormat::ListDisc) {
        previous.textList()->add(cursor_.block());
      } else {
        QTextListFormat list;
        list.setStyle(QTextListFormat::ListDisc);
        list.setIndent(1);
        cursor_.createList(list);
      }
    }
  }

  QByteArrayView in_;
  qsizetype pos_ = 0;
  QTextCursor cursor_;
  std::vector<TState> stack_;
  size_t overflow_ = 0;
  bool done_ = false;
  bool ignorable_ = false;
  int skip_ = 0;

  int ansi_cp_ = 1252;
  int deff_ = 0;
  std::map<int, TFont> fonts_;
  std::vector<TColorEntry> colors_;
  std::map<int, std::unique_ptr<TCodePage>> code_pages_;

  bool font_open_ = false;
  int font_id_ = 0;
  int font_charset_ = -1;
  QString font_name_;
  int red_ = 0, green_ = 0, blue_ = 0;
  bool color_set_ = false;

  std::string pending_;
  QString run_;
  bool block_pending_ = false;
  bool cell_pending_ = false;
  QString marker_;
  QTextCharFormat marker_format_;
};

}  // namespace

bool LooksLikeRtf(QByteArrayView bytes) {
  qsizetype i = 0;
  while (i < bytes.size() &&
         (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n')) {
    ++i;
  }
  return bytes.sliced(i).startsWith(QByteArrayView("{\\rtf"));
}

void ReadRtf(QByteArrayView bytes, QTextDocument* doc) {
  doc->setUndoRedoEnabled(false);
  doc->clear();
  doc->setIndentWidth(kBulletIndentPixels);
  TRtfReader(bytes, doc).Read();
  doc->setUndoRedoEnabled(true);
  doc->setModified(false);
}

}  // namespace kovra
