#include "RtfWriter.h"

#include <QColor>
#include <QFont>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>

#include <cmath>
#include <string>
#include <vector>

#include "RtfReader.h"
#include "platform/CodePage.h"

namespace kovra {
namespace {

struct TRunProps {
  int font = 0;
  int half_points = 24;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike = false;
  int color = 0;
  int highlight = 0;
};

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}
// Units that stand for one byte that was not valid code page text.
bool IsRawByteUnit(char16_t c) {
  return c >= 0xDC80 && c <= 0xDCFF;
}

int Twips(qreal pixels) {
  return static_cast<int>(std::lround(pixels * kTwipsPerPixel));
}

class TRtfWriter {
 public:
  explicit TRtfWriter(const QTextDocument& doc) : doc_(doc) {}

  QByteArray Write() {
    CollectTables();
    Raw("{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052\\uc1\r\n{\\fonttbl");
    for (size_t i = 0; i < fonts_.size(); ++i) {
      Raw("{");
      Word("f", static_cast<int>(i));
      Word("fnil");
      Word("fcharset", 134);
      QString name = fonts_[i];
      name.remove(u';');
      const int saved_uc = uc_;
      Text(name);
      uc_ = saved_uc;  // the group restores it
      Raw(";}");
    }
    Raw("}\r\n{\\colortbl ;");
    for (const QColor& c : colors_) {
      Word("red", c.red());
      Word("green", c.green());
      Word("blue", c.blue());
      Raw(";");
    }
    Raw("}\r\n");
    Word("viewkind", 4);
    Raw("\r\n");

    for (QTextBlock block = doc_.begin(); block.isValid(); block = block.next()) {
      WriteBlock(block);
    }
    Raw("}\r\n");
    return out_;
  }

 private:
  QFont EffectiveFont(const QTextCharFormat& f) const {
    return f.font().resolve(doc_.defaultFont());
  }

  void CollectTables() {
    fonts_.push_back(doc_.defaultFont().family());
    for (QTextBlock block = doc_.begin(); block.isValid(); block = block.next()) {
      for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextCharFormat f = it.fragment().charFormat();
        FontIndex(EffectiveFont(f).family());
        if (f.foreground().style() != Qt::NoBrush) ColorIndex(f.foreground().color());
        if (f.background().style() != Qt::NoBrush) ColorIndex(f.background().color());
      }
    }
  }

  int FontIndex(const QString& family) {
    for (size_t i = 0; i < fonts_.size(); ++i) {
      if (fonts_[i] == family) return static_cast<int>(i);
    }
    fonts_.push_back(family);
    return static_cast<int>(fonts_.size()) - 1;
  }

  int ColorIndex(const QColor& color) {
    const QRgb rgb = color.rgb();
    for (size_t i = 0; i < colors_.size(); ++i) {
      if (colors_[i].rgb() == rgb) return static_cast<int>(i) + 1;
    }
    colors_.push_back(QColor(rgb));
    return static_cast<int>(colors_.size());
  }

  void WriteBlock(const QTextBlock& block) {
    const QTextBlockFormat bf = block.blockFormat();
    Word("pard");
    switch (bf.alignment() & Qt::AlignHorizontal_Mask) {
      case Qt::AlignHCenter:
        Word("qc");
        break;
      case Qt::AlignRight:
        Word("qr");
        break;
      case Qt::AlignJustify:
        Word("qj");
        break;
      default:
        break;
    }
    qreal left = bf.leftMargin() + bf.indent() * doc_.indentWidth();
    qreal first = bf.textIndent();
    const QTextList* list = block.textList();
    if (list != nullptr) {
      // The bullet hangs in the list's indent, left of the text.
      const qreal list_indent = std::max(1, list->format().indent()) * doc_.indentWidth();
      left += list_indent;
      first = -list_indent;
    }
    if (Twips(first) != 0) Word("fi", Twips(first));
    if (Twips(left) != 0) Word("li", Twips(left));
    if (Twips(bf.rightMargin()) != 0) Word("ri", Twips(bf.rightMargin()));
    if (list != nullptr) {
      // The bullet as text for readers without lists, then the list setting.
      Raw("{\\pntext\\uc1\\u8226 ?\\tab}{\\*\\pn\\pnlvlblt\\pnindent0{\\pntxtb\\uc1\\u8226 ?}}");
    }
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      SetRunProps(fragment.charFormat());
      Text(fragment.text());
    }
    Word("par");
    Raw("\r\n");
  }

  void SetRunProps(const QTextCharFormat& f) {
    const QFont font = EffectiveFont(f);
    TRunProps p;
    p.font = FontIndex(font.family());
    const qreal points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 0.75;
    p.half_points = std::max(1, static_cast<int>(std::lround(points * 2)));
    p.bold = font.weight() > QFont::Medium;
    p.italic = font.italic();
    p.underline = font.underline();
    p.strike = font.strikeOut();
    p.color = f.foreground().style() != Qt::NoBrush ? ColorIndex(f.foreground().color()) : 0;
    p.highlight = f.background().style() != Qt::NoBrush ? ColorIndex(f.background().color()) : 0;

    if (p.font != cur_.font) Word("f", p.font);
    if (p.half_points != cur_.half_points) Word("fs", p.half_points);
    if (p.bold != cur_.bold) p.bold ? Word("b") : Word("b", 0);
    if (p.italic != cur_.italic) p.italic ? Word("i") : Word("i", 0);
    if (p.underline != cur_.underline) p.underline ? Word("ul") : Word("ulnone");
    if (p.strike != cur_.strike) p.strike ? Word("strike") : Word("strike", 0);
    if (p.color != cur_.color) Word("cf", p.color);
    if (p.highlight != cur_.highlight) Word("highlight", p.highlight);
    cur_ = p;
  }

  void Text(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
      const char16_t c = text[i].unicode();
      if (c >= 0x20 && c < 0x7F) {
        if (c == u'\\' || c == u'{' || c == u'}') {
          out_.append('\\');
          delimit_ = false;
        } else if (delimit_) {
          out_.append(' ');
          delimit_ = false;
        }
        out_.append(static_cast<char>(c));
        continue;
      }
      switch (c) {
        case u'\t':
          Word("tab");
          continue;
        case 0x2028:
          Word("line");
          continue;
        case 0x00A0:
          Raw("\\~");
          continue;
        case 0x00AD:
          Raw("\\-");
          continue;
        case 0x2011:
          Raw("\\_");
          continue;
        default:
          break;
      }
      if (c < 0x20 || c == 0x7F) {
        Hex(static_cast<unsigned char>(c));
        continue;
      }
      if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1].unicode())) {
        Unicode(c, "?");
        Unicode(text[i + 1].unicode(), "?");
        ++i;
        continue;
      }
      if (IsRawByteUnit(c)) {
        // The empty group keeps a reader from pairing the byte with the
        // next one into a character.
        Hex(static_cast<unsigned char>(c - 0xDC00));
        out_.append("{}");
        continue;
      }
      bytes_.clear();
      TCodePage::Cp936().EncodeAppend(std::u16string_view(&c, 1), bytes_);
      Unicode(c, bytes_);
    }
  }

  // \uN followed by the fallback bytes; \uc says how many there are.
  void Unicode(char16_t c, const std::string& fallback) {
    const int count = static_cast<int>(fallback.size());
    if (count != uc_) {
      Word("uc", count);
      uc_ = count;
    }
    Word("u", c >= 0x8000 ? static_cast<int>(c) - 65536 : static_cast<int>(c));
    for (char b : fallback) {
      if (b == '?') {
        out_.append(' ');
        out_.append('?');
        delimit_ = false;
      } else {
        Hex(static_cast<unsigned char>(b));
      }
    }
  }

  void Hex(unsigned char b) {
    static constexpr char kDigits[] = "0123456789abcdef";
    out_.append("\\'");
    out_.append(kDigits[b >> 4]);
    out_.append(kDigits[b & 15]);
    delimit_ = false;
  }

  void Word(const char* w) {
    out_.append('\\');
    out_.append(w);
    delimit_ = true;
  }

  void Word(const char* w, int n) {
    Word(w);
    out_.append(QByteArray::number(n));
  }

  void Raw(const char* s) {
    out_.append(s);
    delimit_ = false;
  }

  const QTextDocument& doc_;
  QByteArray out_;
  std::vector<QString> fonts_;
  std::vector<QColor> colors_;
  TRunProps cur_;
  int uc_ = 1;
  bool delimit_ = false;
  std::string bytes_;
};

}  // namespace

QByteArray WriteRtf(const QTextDocument& doc) {
  return TRtfWriter(doc).Write();
}

}  // namespace kovra
