// Reading rich text format (RTF) into a QTextDocument.
//
// The reader keeps what the editor can show: fonts, sizes, bold, italic,
// underline, strike-out, text and highlight colours, alignment, left, right
// and first-line indents, bullets and paragraphs. Text is decoded by the
// code page of its font's character set or of \ansicpg (936 and the other
// Windows code pages), and \uN characters replace their fallback text.
//
// It never drops text it cannot format: groups marked with \* that it does
// not know are skipped, as are the destinations that hold no body text (font
// and colour tables, style sheet, document info, pictures, headers and
// footers); every other unknown control word is ignored and its text kept.
// Numbered list labels stay as text. Garbage input is read as far as it
// goes: unbalanced braces, huge numbers and deep nesting are bounded.
#pragma once

#include <QByteArrayView>

class QTextDocument;

namespace kovra {

// True when the bytes begin with "{\rtf" (blanks before it allowed).
bool LooksLikeRtf(QByteArrayView bytes);

// Replaces the content of doc with the document in bytes. The document's
// undo history is cleared and it is left unmodified.
void ReadRtf(QByteArrayView bytes, QTextDocument* doc);

// Pixels (at 96 per inch) per twip unit and back; indents are kept in pixels.
constexpr int kTwipsPerPixel = 15;

// The indent of one list level, in pixels: bulleted paragraphs are drawn with
// their bullet in this space, to the left of the paragraph's left indent.
constexpr int kBulletIndentPixels = 20;

}  // namespace kovra
