// Renders KovraEdit's windows into PNG files for tools/screenshots-editor:
// the main window, the Run Script window with its menus open (and during a
// run), and the About box. Runs on a real display (Xvfb); not a test.
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextList>
#include <QTimer>

#include <cstdio>

#include "UnitScriptForm.h"
#include "reabout.h"
#include "remain.h"

namespace {

void Settle(int ms = 400) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

QString g_out;

void Shoot(const QString& name) {
  Settle();
  const QString path = QDir(g_out).filePath(name + QStringLiteral(".png"));
  const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
  if (!screen.save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
  std::printf("%s\n", qPrintable(path));
}

void FillMainEditor(QTextEdit* editor) {
  QTextCursor c(editor->document());
  QTextCharFormat title;
  title.setFontPointSize(14);
  title.setFontWeight(QFont::Bold);
  QTextBlockFormat centred;
  centred.setAlignment(Qt::AlignHCenter);
  c.setBlockFormat(centred);
  c.insertText(QStringLiteral("脚本测试页 Script test page"), title);
  QTextCharFormat plain;
  c.insertBlock(QTextBlockFormat(), plain);
  c.insertText(QStringLiteral("<div class=\"price\">价格：128 元</div>"), plain);
  c.insertBlock();
  c.insertText(QStringLiteral("<a href=\"http://www.example.com/item?id=42\">商品详情</a>"));
  c.insertBlock();
  QTextCharFormat red = plain;
  red.setForeground(QColor(0xC0, 0x20, 0x20));
  c.insertText(QStringLiteral("Bullets:"), plain);
  c.insertBlock();
  c.insertText(QStringLiteral("first point"));
  QTextListFormat list;
  list.setStyle(QTextListFormat::ListDisc);
  list.setIndent(1);
  c.createList(list);
  c.insertBlock();
  c.insertText(QStringLiteral("second point, "));
  c.insertText(QStringLiteral("in colour"), red);
  c.insertBlock(QTextBlockFormat(), plain);
  QTextBlockFormat indented;
  indented.setLeftMargin(48);
  indented.setTextIndent(24);
  c.setBlockFormat(indented);
  c.insertText(
      QStringLiteral("An indented paragraph with a first-line indent, long enough to wrap "
                     "over more than one line of the window so that the ruler markers show "
                     "where the first line and the other lines begin."));
  editor->document()->setModified(false);
}

void PopUp(QMenu* menu, const QPoint& at) {
  menu->popup(at);
  Settle(200);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  g_out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
  QDir().mkpath(g_out);

  kovra::TMainForm main_form;
  kovra::TScriptForm script_form(main_form.Editor(), &main_form);
  main_form.SetScriptForm(&script_form);
  FillMainEditor(main_form.Editor());
  main_form.show();
  QTextCursor caret(main_form.Editor()->document());
  caret.movePosition(QTextCursor::End);
  main_form.Editor()->setTextCursor(caret);
  Shoot(QStringLiteral("editor-main"));

  QMenu* file_menu = main_form.menuBar()->findChild<QMenu*>(QStringLiteral("FileMenu"));
  PopUp(file_menu, main_form.mapToGlobal(
                       main_form.menuBar()->actionGeometry(file_menu->menuAction()).bottomLeft()));
  Shoot(QStringLiteral("editor-main-file-menu"));
  file_menu->hide();

  script_form.Editor()->setPlainText(QStringLiteral(
      "var\ns1:string;\nendvar\n\n[script]\n    s1 := copyqs( result , '价格：' , ' 元' );\n"
      "    result := '价格是 ' + s1;\n[/script]"));
  script_form.Result()->setPlainText(QStringLiteral("价格是 128"));
  script_form.show();
  Shoot(QStringLiteral("editor-script"));

  QMenuBar* bar = script_form.findChild<QMenuBar*>(QStringLiteral("MainMenu1"));
  for (const char* name : {"Pos", "Trim", "calc"}) {
    QMenu* menu = bar->findChild<QMenu*>(QString::fromLatin1(name));
    PopUp(menu, bar->mapToGlobal(bar->actionGeometry(menu->menuAction()).bottomLeft()));
    Shoot(QStringLiteral("editor-script-menu-") + QString::fromLatin1(name));
    menu->hide();
  }
  QMenu* http = bar->findChild<QMenu*>(QStringLiteral("IdHttp"));
  PopUp(http, bar->mapToGlobal(bar->actionGeometry(http->menuAction()).bottomLeft()));
  QMenu* properties = http->findChild<QMenu*>(QStringLiteral("PropertyReadWrite"));
  PopUp(properties, http->mapToGlobal(http->actionGeometry(properties->menuAction()).topRight()));
  QMenu* strings = properties->findChild<QMenu*>(QStringLiteral("String"));
  PopUp(strings,
        properties->mapToGlobal(properties->actionGeometry(strings->menuAction()).topRight()));
  Shoot(QStringLiteral("editor-script-menu-IdHttp"));
  strings->hide();
  properties->hide();
  http->hide();

  script_form.Editor()->setPlainText(QStringLiteral(
      "var\ni:integer;\nendvar\n[script]\nwhile true do begin inc(i); end;\n[/script]"));
  script_form.RunClick();
  Shoot(QStringLiteral("editor-script-running"));
  script_form.StopClick();
  QEventLoop wait;
  QObject::connect(&script_form, &kovra::TScriptForm::RunFinished, &wait, &QEventLoop::quit);
  if (script_form.IsRunning()) wait.exec();
  Shoot(QStringLiteral("editor-script-stopped"));
  script_form.hide();

  kovra::TAboutBox about(&main_form);
  about.show();
  Shoot(QStringLiteral("editor-about"));
  about.hide();
  return 0;
}
