#include "EditorText.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <cstdlib>

namespace kovra {
namespace {

constexpr auto kExampleUrl = "http://www.example.com/";

class TIndentOnEnter final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    auto* edit = qobject_cast<QTextEdit*>(watched);
    if (edit == nullptr || edit->isReadOnly()) return false;
    InsertIndentedLineBreak(edit);
    return true;
  }
};

QString CrLfText(QString text) {
  text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
  text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
  return text;
}

}  // namespace

QFont DefaultEditorFont() {
  QFont font = QApplication::font();
  font.setPointSize(8);
  return font;
}

QString DocumentText(const QTextDocument& doc) {
  QString text;
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    if (block != doc.begin()) text += QStringLiteral("\r\n");
    text += block.text();
  }
  return CrLfText(text);
}

QString SelectedText(const QTextCursor& cursor) {
  return CrLfText(cursor.selectedText());
}

void InsertAtCaret(QTextEdit* edit, const QString& piece) {
  if (edit->isReadOnly() || piece.isEmpty()) return;
  const QTextCursor current = edit->textCursor();
  const int start = current.selectionStart();
  const int end = current.selectionEnd();
  QTextCursor at(edit->document());
  at.setPosition(start);
  at.insertText(piece);
  const int length = at.position() - start;
  QTextCursor after(edit->document());
  after.setPosition(end + length);
  after.setPosition(start + length, QTextCursor::KeepAnchor);
  edit->setTextCursor(after);
}

void InsertIndentedLineBreak(QTextEdit* edit) {
  const QTextBlock line = edit->document()->findBlock(edit->textCursor().selectionStart());
  const QString text = line.text();
  qsizetype spaces = 0;
  while (spaces < text.size() && text[spaces] == u' ') ++spaces;
  InsertAtCaret(edit, QStringLiteral("\n") + QString(spaces, u' '));
}

void InstallIndentOnEnter(QTextEdit* edit) {
  edit->installEventFilter(new TIndentOnEnter(edit));
}

QStringList StartingLines() {
  return {QStringLiteral("var"),
          QString(),
          QStringLiteral("endvar"),
          QString(),
          QString(),
          QString(),
          QStringLiteral("[script]"),
          QString(),
          QString(),
          QString(),
          QString(),
          QString(),
          QStringLiteral("[/script]")};
}

QString FunctionTemplate(const QString& caption, int tag) {
  QString name = caption;
  name.remove(u'&');
  QString text = tag > 0 ? QStringLiteral(" := ") : QString();
  text += name + QStringLiteral("( ");
  for (int i = 1; i < std::abs(tag); ++i) text += QStringLiteral(" , ");
  return text + QStringLiteral(" );");
}

QString PropertyTemplate(const QString& caption, int tag) {
  QString kind;
  switch (tag) {
    case 0:
      kind = QStringLiteral("varString_Bool");
      break;
    case 1:
      kind = QStringLiteral("varInteger");
      break;
    case 2:
    case 3:
      kind = QStringLiteral("varString");
      break;
    default:
      break;
  }
  QString name = caption;
  name.remove(u'&');
  return QStringLiteral("IdHttp( 'Read' , '") + name + QStringLiteral("' , ") + kind +
         QStringLiteral(" );");
}

QString GetTemplate() {
  return QStringLiteral("idHttp( 'Get' , '") + QLatin1String(kExampleUrl) +
         QStringLiteral("' , Result );");
}

QString PostTemplate() {
  return QStringLiteral("idHttp( 'Post' , '") + QLatin1String(kExampleUrl) +
         QStringLiteral("' , Result , 'data1' + 'data2' );");
}

}  // namespace kovra
