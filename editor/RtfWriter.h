// Writing a QTextDocument as rich text format (RTF).
//
// The output declares code page 936 (\ansicpg936, fonts with the GB2312
// character set). Every character outside ASCII is written as \uN followed
// by its code page 936 bytes as \'xx pairs, so readers without Unicode
// support still get the Chinese text; characters that code page cannot hold
// fall back to "?". Bytes that an 8-bit file held without being valid code
// page 936 text (kept as U+DC80..U+DCFF) go out as the same bytes again.
//
// Written are what the editor shows: fonts, sizes, bold, italic, underline,
// strike-out, text and highlight colours, alignment, indents, bullets and
// paragraphs (each ended by \par).
#pragma once

#include <QByteArray>

class QTextDocument;

namespace kovra {

QByteArray WriteRtf(const QTextDocument& doc);

}  // namespace kovra
