// Text operations shared by KovraEdit's editors: the plain text handed to
// the engine, insertion at the caret with the caret line's indentation, and
// the call templates of the Run Script window's menus.
#pragma once

#include <QFont>
#include <QObject>
#include <QString>
#include <QStringList>

class QTextCursor;
class QTextDocument;
class QTextEdit;

namespace kovra {

// The font of every editor box: the default font at 8 points.
QFont DefaultEditorFont();

// The text of a whole document / of a cursor's selection, paragraphs (and
// line breaks inside them) ended by CR LF, no CR LF after the last one.
QString DocumentText(const QTextDocument& doc);
QString SelectedText(const QTextCursor& cursor);

// Inserts piece at the caret, where the caret is the start of the selection:
// the selected text is not replaced and stays selected behind the piece; the
// caret ends right after the piece. "\n" in the piece starts a paragraph.
// Does nothing in a read-only box.
void InsertAtCaret(QTextEdit* edit, const QString& piece);

// A line break followed by as many spaces as the caret's line begins with
// (tabs do not count), inserted as InsertAtCaret does.
void InsertIndentedLineBreak(QTextEdit* edit);

// Makes Enter (also with Shift, and the keypad's) in the box do
// InsertIndentedLineBreak instead of the box's own line break.
void InstallIndentOnEnter(QTextEdit* edit);

// The thirteen lines a new script starts with.
QStringList StartingLines();

// " := Name(  ,  );" for a function menu item: the caption without "&", the
// " := " only for a positive tag, and |tag| argument places.
QString FunctionTemplate(const QString& caption, int tag);

// "IdHttp( 'Read' , 'Name' , kind );" for a property menu item; the kind
// word stands for the variable to write, chosen by the tag.
QString PropertyTemplate(const QString& caption, int tag);

// The request templates of the "Get" and "Post" items.
QString GetTemplate();
QString PostTemplate();

}  // namespace kovra
