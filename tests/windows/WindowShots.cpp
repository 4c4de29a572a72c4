// kovra_window_shots OUTPUT_FOLDER: shows each of the engine's windows with
// typical content and saves it as a PNG (tools/screenshots runs it under
// Xvfb). The engine folder is a temporary one; nothing is saved in it.
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPixmap>
#include <QTextBlock>
#include <QTextCursor>
#include <cstdio>
#include <filesystem>

#include "library/UnitTScriptLibrary.h"
#include "library/ksEditor.h"
#include "windows/UnitEditForm.h"
#include "windows/UnitFormUrlFilterMsgWindow.h"
#include "windows/UnitScriptEditor.h"
#include "windows/UnitScriptMemo.h"
#include "windows/UnitTMyEdit.h"
#include "windows/UnitTScriptEditors.h"
#include "windows/WindowLook.h"
#include "windows/ksEditorFormWindow.h"

namespace {

bool Save(QWidget* window, const std::filesystem::path& file) {
  window->show();
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
  const bool ok = window->grab().save(QString::fromStdString(file.string()));
  std::printf("%s %s\n", ok ? "wrote" : "FAILED", file.c_str());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: kovra_window_shots OUTPUT_FOLDER\n");
    return 2;
  }
  QApplication app(argc, argv);
  const std::filesystem::path out = argv[1];
  std::filesystem::create_directories(out);
  const std::filesystem::path engine =
      std::filesystem::temp_directory_path() / ("kovra_window_shots_" + std::to_string(getpid()));
  std::filesystem::create_directories(engine / "Scripts");
  bool ok = true;
  {
    kovra::TScriptLibrary library(engine);
    kovra::TScriptEditors editors(library);
    using kovra::QText;

    editors.OpenEditorForUrl("http://news.example.com.cn/world/2010/07/story.html", "about:blank",
                             0);
    kovra::TFrmScriptEditor* w = editors.Window(0);
    kovra::TFrmScriptEditor::SetListModel(
        w->Ln2, {{u"[ExUrl]   Default", u"[Allow]   *.example.com.cn", u"[Filter]    *.ads.test",
                  u"[Filter]    about:blank"},
                 3});
    w->SetScriptLines({u"[Script]",
                       u"",
                       u"  [Header Message]",
                       u"",
                       u"    Name = news ;",
                       u"    Match Url = 'news.example.com.cn/world/*' ;",
                       u"",
                       u"  [/Header Message]",
                       u"",
                       u"  [Script Content]",
                       u"",
                       u"    title := fncopybetween(result, '<title>', '</title>');",
                       u"    if title = '' then begin",
                       u"      result := '没有标题';",
                       u"    end",
                       u"    else result := title + 12;",
                       u"",
                       u"  [/Script Content]",
                       u"",
                       u"[/Script]"});
    QTextCursor cursor = w->FScriptMemo->textCursor();
    cursor.setPosition(w->FScriptMemo->document()->findBlockByNumber(11).position() + 4);
    cursor.setPosition(w->FScriptMemo->document()->findBlockByNumber(11).position() + 30,
                       QTextCursor::KeepAnchor);
    w->FScriptMemo->setTextCursor(cursor);
    ok &= Save(w, out / "script_manager.png");

    w->Ln2->setCurrentRow(0);
    w->L2Click(w->Ln2);
    w->FEditForm->move(0, 0);
    ok &= Save(w->FEditForm, out / "entry_bar.png");
    w->FEditForm->hide();

    kovra::TksEditorFrm* header = w->FHeaderEditor;
    kovra::TScriptHeader h;
    h.Name = u"news";
    h.MatchUrl = u"'news.example.com.cn/world/*'";
    h.DefineVariant = u"title:string;\r\nn:integer;";
    h.ScriptContent = u"title := fncopybetween(result, '<title>', '</title>');\r\nresult := title;";
    header->LoadFromText(kovra::ComposeScriptText(h));
    ok &= Save(header, out / "header_editor.png");
    header->hide();

    kovra::TFormUrlFilterMsg dialog(library, editors);
    dialog.EdSrc->setText(QStringLiteral("http://news.example.com.cn/world/2010/07/story.html"));
    dialog.EdBreak->setText(QStringLiteral("http://pop.ads.test/banner?id=42"));
    ok &= Save(&dialog, out / "intercept_dialog.png");
  }
  std::filesystem::remove_all(engine);
  return ok ? 0 : 1;
}
