// The registry and the script manager window, driven through the controls'
// object names: new scripts, reuse, windows filled from the library, the
// entry bar on the lists, saving, the header editor and the splitters.
#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QtTest/QTest>
#include <algorithm>
#include <optional>

#include "WindowsTestSupport.h"
#include "library/UnitTScriptLibrary.h"
#include "platform/CodePage.h"
#include "windows/UnitEditForm.h"
#include "windows/UnitScriptEditor.h"
#include "windows/UnitScriptMemo.h"
#include "windows/UnitTMyEdit.h"
#include "windows/UnitTScriptEditors.h"
#include "windows/WindowLook.h"
#include "windows/ksEditorFormWindow.h"

namespace kovra {
namespace {

namespace fs = std::filesystem;
using test::TModalAnswerer;

std::vector<std::u16string> Items(const QListWidget* list) {
  return TFrmScriptEditor::ListModel(list).items;
}

template <class T>
T* Find(const QWidget* parent, const char* name) {
  T* child = parent->findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

class ScriptEditorsTest : public testing::Test {
 protected:
  void SetUp() override {
    test::App();
    dir_ = test::TempEngineFolder();
  }
  void TearDown() override {
    editors_.reset();
    library_.reset();
    fs::remove_all(dir_);
  }
  void Load() {
    library_ = std::make_unique<TScriptLibrary>(dir_);
    editors_ = std::make_unique<TScriptEditors>(*library_);
  }
  void WriteScript(const std::string& file, const TScripts& entry) {
    std::ofstream(dir_ / "Scripts" / file, std::ios::binary) << ComposeScriptFile(entry);
  }

  fs::path dir_;
  std::unique_ptr<TScriptLibrary> library_;
  std::unique_ptr<TScriptEditors> editors_;
};

TEST_F(ScriptEditorsTest, NewScriptForAPageEntersTheLibraryAtOnce) {
  Load();
  const std::string page = "http://news.example.com/2024/a.html";
  editors_->OpenEditorForUrl(page, "about:blank", 0);
  ASSERT_EQ(editors_->FCount(), 1);
  const TFrmScriptEditor* w = editors_->Window(0);
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Kovra Script Manager v0.2 alpha"));
  EXPECT_EQ(Find<TMyEdit>(w, "EdName")->text(), QStringLiteral("example"));
  EXPECT_EQ(
      Items(Find<QListWidget>(w, "LUrlMatch")),
      (std::vector<std::u16string>{u"[Match it]        http://news.example.com/2024/a.html"}));
  EXPECT_EQ(Items(Find<QListWidget>(w, "Ln2")),
            (std::vector<std::u16string>{u"[Filter]    about:blank"}));
  EXPECT_EQ(w->ScriptLines(),
            (std::vector<std::u16string>{u"[Script]", u"", u"", u"", u"[/Script]"}));

  ASSERT_EQ(library_->Count(), 1);
  const TScripts* e = library_->Entry(1);
  EXPECT_EQ(w->FScriptID, 1u);
  EXPECT_EQ(e->Name, "example");
  EXPECT_EQ(e->UrlMatch,
            (std::vector<std::string>{"[Match it]        http://news.example.com/2024/a.html"}));
  EXPECT_EQ(e->Navigate2Set, (std::vector<std::string>{"[Filter]    about:blank"}));
  EXPECT_EQ(e->Script, "[Script]\r\n\r\n\r\n\r\n[/Script]\r\n");
  EXPECT_TRUE(fs::is_empty(dir_ / "Scripts"));  // nothing written before a save

  // ID 0 never reuses: a second window and a second entry.
  editors_->OpenEditorForUrl(page, "about:blank", 0);
  EXPECT_EQ(editors_->FCount(), 2);
  EXPECT_EQ(library_->Count(), 2);
  EXPECT_EQ(editors_->Window(1)->FScriptID, 2u);
  uint32_t id = 0;
  ASSERT_TRUE(editors_->ScriptIdForUrl(page, id));
  EXPECT_EQ(id, 1u);  // the first window created wins
}

TEST_F(ScriptEditorsTest, LibraryEntryOpensReversedAndIsReusedWithTheAboutQuirk) {
  TScripts stored;
  stored.Name = "Shop Site";
  stored.UrlMatch = {"[Match it]            shop.test/item", "[Exact Match]   shop.test/cart"};
  stored.Navigate2Set = {"[ExUrl]   Default", "[Allow]   *.cdn.test"};
  stored.Script = "[Script]\r\n  body\r\n[/Script]\r\n";
  WriteScript("shop.ks", stored);
  Load();
  ASSERT_EQ(library_->Count(), 1);

  const std::string page = "http://shop.test/item/7";
  editors_->OpenEditorForUrl(page, "about:blank", 1);
  ASSERT_EQ(editors_->FCount(), 1);
  TFrmScriptEditor* w = editors_->Window(0);
  QListWidget* ln2 = Find<QListWidget>(w, "Ln2");
  EXPECT_EQ(w->FScriptID, 1u);
  EXPECT_EQ(Find<TMyEdit>(w, "EdName")->text(), QStringLiteral("ShopSite"));
  EXPECT_EQ(Items(Find<QListWidget>(w, "LUrlMatch")),
            (std::vector<std::u16string>{u"[Exact Match]   shop.test/cart",
                                         u"[Match it]            shop.test/item"}));
  const std::vector<std::u16string> navigate = {u"[Allow]   *.cdn.test", u"[ExUrl]   Default",
                                                u"[Filter]    about:blank"};
  EXPECT_EQ(Items(ln2), navigate);
  EXPECT_EQ(ln2->currentRow(), 2);
  EXPECT_EQ(w->ScriptLines(), (std::vector<std::u16string>{u"[Script]", u"  body", u"[/Script]"}));

  // Again for the same page: "about" is already in the list, nothing moves,
  // and a hidden window stays hidden.
  w->close();
  EXPECT_FALSE(w->isVisible());
  editors_->OpenEditorForUrl(page, "about:blank", 1);
  EXPECT_EQ(editors_->FCount(), 1);
  EXPECT_EQ(Items(ln2), navigate);
  EXPECT_FALSE(w->isVisible());

  // A target from another domain: one more "[Filter]" entry, selected, and
  // the window comes back.
  editors_->OpenEditorForUrl(page, "http://pop.ads.test/x", 1);
  EXPECT_EQ(editors_->FCount(), 1);
  EXPECT_EQ(Items(ln2).back(), u"[Filter]    http://pop.ads.test/x");
  EXPECT_EQ(ln2->currentRow(), 3);
  EXPECT_TRUE(w->isVisible());

  uint32_t id = 0;
  w->close();
  EXPECT_TRUE(editors_->ScriptIdForUrl(page, id));  // hidden windows count
  EXPECT_EQ(id, 1u);
  EXPECT_FALSE(editors_->ScriptIdForUrl("http://other.test/", id));
}

TEST_F(ScriptEditorsTest, UnknownScriptIdStartsANewEntry) {
  Load();
  editors_->OpenEditorForUrl("http://a.test/", "about:blank", 42);
  ASSERT_EQ(editors_->FCount(), 1);
  EXPECT_EQ(editors_->Window(0)->FScriptID, 1u);
  EXPECT_EQ(library_->Count(), 1);
  EXPECT_EQ(library_->Entry(1)->Name, "a");
}

// Clicks the entry at `row` of the list as the user would.
void ClickEntry(QListWidget* list, int row) {
  list->setCurrentRow(row);
  const QRect rect = list->visualItemRect(list->item(row));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

TEST_F(ScriptEditorsTest, EntryBarEditsTheClickedList) {
  Load();
  editors_->OpenEditorForUrl("http://www.site.test/", "http://pop.test/", 0);
  TFrmScriptEditor* w = editors_->Window(0);
  QListWidget* urls = Find<QListWidget>(w, "LUrlMatch");
  QListWidget* ln2 = Find<QListWidget>(w, "Ln2");
  TEditForm* bar = w->FEditForm;
  auto* box = Find<QComboBox>(bar, "Box");
  auto* value = Find<TMyEdit>(bar, "Value");
  auto* tips = Find<TMyEdit>(bar, "Tips");

  TFrmScriptEditor::SetListModel(
      urls, {{u"[Match it]            a.test", u"[Exact Match]   b.test/x", u"c.test"}, -1});
  ClickEntry(urls, 1);
  ASSERT_TRUE(bar->isVisible());
  EXPECT_EQ(bar->property("Tag").toInt(), 1);
  EXPECT_EQ(box->count(), 2);
  EXPECT_EQ(box->currentText(), QStringLiteral("[Exact match]"));
  EXPECT_EQ(value->text(), QStringLiteral("b.test/x"));
  EXPECT_TRUE(tips->text().startsWith(QStringLiteral("[Exact match]，")));

  value->setText(QStringLiteral("b.test/y"));
  Find<QPushButton>(bar, "btnOk")->click();
  EXPECT_FALSE(bar->isVisible());
  EXPECT_EQ(Items(urls), (std::vector<std::u16string>{u"[Match it]            a.test",
                                                      u"[Exact match]   b.test/y", u"c.test"}));
  EXPECT_EQ(urls->currentRow(), 1);

  // An entry without a kind: no kind chosen, empty value; "新增" adds the bare value.
  ClickEntry(urls, 2);
  EXPECT_EQ(box->currentIndex(), -1);
  EXPECT_EQ(value->text(), QString());
  value->setText(QStringLiteral("d.test"));
  Find<QPushButton>(bar, "btnAdd")->click();
  EXPECT_EQ(Items(urls).back(), u"d.test");
  EXPECT_EQ(urls->currentRow(), 2);

  // "删除" on the selected entry selects the last one.
  ClickEntry(urls, 0);
  Find<QPushButton>(bar, "btnDel")->click();
  EXPECT_EQ(Items(urls),
            (std::vector<std::u16string>{u"[Exact match]   b.test/y", u"c.test", u"d.test"}));
  EXPECT_EQ(urls->currentRow(), 2);

  // The navigation list: "[ExUrl]" chosen by hand resets the value.
  ClickEntry(ln2, 0);
  EXPECT_EQ(bar->property("Tag").toInt(), 2);
  EXPECT_EQ(box->count(), 3);
  EXPECT_EQ(value->text(), QStringLiteral("http://pop.test/"));
  box->setCurrentIndex(0);
  bar->BoxChange();
  EXPECT_EQ(value->text(), QStringLiteral("All Allow"));
  Find<QPushButton>(bar, "btnCancel")->click();
  EXPECT_EQ(Items(ln2), (std::vector<std::u16string>{u"[Filter]    http://pop.test/"}));
  ClickEntry(ln2, 0);
  box->setCurrentIndex(0);
  bar->BoxChange();
  QTest::keyClick(value, Qt::Key_Return);  // Enter is "确定"
  EXPECT_EQ(Items(ln2), (std::vector<std::u16string>{u"[ExUrl]   All Allow"}));
  EXPECT_FALSE(bar->isVisible());

  // No selection: no bar.
  ln2->setCurrentRow(-1);
  w->L2Click(ln2);
  EXPECT_FALSE(bar->isVisible());

  Find<QPushButton>(w, "btnClearMatch")->click();
  Find<QPushButton>(w, "btnClearNavigate2Set")->click();
  EXPECT_EQ(urls->count(), 0);
  EXPECT_EQ(ln2->count(), 0);
}

TEST_F(ScriptEditorsTest, SaveWritesTheFileAndReadsBack) {
  Load();
  editors_->OpenEditorForUrl("http://www.site.test/p", "about:blank", 0);
  TFrmScriptEditor* w = editors_->Window(0);
  Find<TMyEdit>(w, "EdName")->setText(QStringLiteral("站点 one"));
  TFrmScriptEditor::SetListModel(
      w->Ln2, {{u"[ExUrl]   All Filter", u"[Allow]   *.ok.test", u"[Filter]    bad.test"}, 0});
  w->SetScriptLines({u"[Script]", u"  result := '标题';", u"[/Script]"});
  fs::remove_all(dir_ / "Scripts");  // made again by the save
  Find<QPushButton>(w, "btnSave")->click();

  const fs::path file = dir_ / "Scripts" / ToNarrow(u"站点 one.ks");
  ASSERT_TRUE(fs::exists(file));
  const std::string bytes = test::ReadBytes(file);
  EXPECT_EQ(bytes,
            ToNarrow(u"[Name]\r\n\t站点 one\r\n\r\n\r\n\r\n[Url Match]\r\n\r\n"
                     u"\t[Match it]\thttp://www.site.test/p\r\n\r\n[/Url Match]\r\n\r\n\r\n\r\n"
                     u"[Navigate2 Set]\r\n\r\n\t[ExUrl]\t\tAll Filter\r\n\t[Allow]\t\t*.ok.test\r\n"
                     u"\t[Filter]\tbad.test\r\n\r\n[/Navigate2 Set]\r\n\r\n\r\n\r\n\r\n\r\n\r\n"
                     u"[Script]\r\n  result := '标题';\r\n[/Script]\r\n\r\n"));
  const TScripts back = ReadScriptFile(bytes);
  EXPECT_EQ(back.UrlMatch,
            (std::vector<std::string>{"[Match it]            http://www.site.test/p"}));
  EXPECT_EQ(back.Navigate2Set,
            (std::vector<std::string>{"[ExUrl]   All Filter", "[Allow]   *.ok.test",
                                      "[Filter]    bad.test"}));
  EXPECT_EQ(library_->Entry(1)->Name, ToNarrow(u"站点 one"));

  // "Clear_Match" then "保存": an empty "[Url Match]" section.
  Find<QPushButton>(w, "btnClearMatch")->click();
  Find<QPushButton>(w, "btnSaveAndExit")->click();
  EXPECT_NE(test::ReadBytes(file).find("[Url Match]\r\n\r\n\r\n[/Url Match]"), std::string::npos);
  EXPECT_FALSE(w->isVisible());
}

TEST_F(ScriptEditorsTest, UnsafeNamesAreRefusedAndTheEditsKept) {
  Load();
  editors_->OpenEditorForUrl("http://www.site.test/", "about:blank", 0);
  TFrmScriptEditor* w = editors_->Window(0);
  const std::string bad_names[] = {"",      "../escape", "a/b", "..", ".", std::string("tab\tname"),
                                   "sub\\x"};
  for (const std::string& name : bad_names) {
    SCOPED_TRACE(name);
    Find<TMyEdit>(w, "EdName")->setText(QString::fromStdString(name));
    w->SetScriptLines({u"[Script]", u"edited", u"[/Script]"});
    QString message;
    TModalAnswerer answer([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->objectName(), QStringLiteral("SaveFailure"));
      message = box->text();
      box->accept();
    });
    Find<QPushButton>(w, "btnSaveAndExit")->click();
    EXPECT_EQ(answer.seen, 1);
    EXPECT_TRUE(message.startsWith(QStringLiteral("The script was not saved: ")));
    EXPECT_TRUE(w->isVisible());  // the window stays with its content
    EXPECT_EQ(w->ScriptLines()[1], u"edited");
    EXPECT_EQ(library_->Entry(1)->Script, "[Script]\r\nedited\r\n[/Script]\r\n");
  }
  EXPECT_TRUE(fs::is_empty(dir_ / "Scripts"));
  EXPECT_FALSE(fs::exists(dir_ / "escape.ks"));
}

TEST_F(ScriptEditorsTest, FailedWriteShowsTheReasonAndLosesNothing) {
  Load();
  editors_->OpenEditorForUrl("http://www.site.test/", "about:blank", 0);
  TFrmScriptEditor* w = editors_->Window(0);
  // A file where the Scripts folder should be: no script can be written.
  fs::remove_all(dir_ / "Scripts");
  std::ofstream(dir_ / "Scripts") << "not a folder";
  w->SetScriptLines({u"[Script]", u"kept", u"[/Script]"});
  QString message;
  TModalAnswerer answer([&](QWidget* modal) {
    message = qobject_cast<QMessageBox*>(modal)->text();
    modal->close();
  });
  EXPECT_FALSE(w->SaveScript());
  EXPECT_EQ(answer.seen, 1);
  EXPECT_TRUE(message.contains(QStringLiteral("cannot write"))) << message.toStdString();
  EXPECT_EQ(library_->Entry(1)->Script, "[Script]\r\nkept\r\n[/Script]\r\n");
  EXPECT_EQ(w->ScriptLines()[1], u"kept");
  EXPECT_EQ(test::ReadBytes(dir_ / "Scripts"), "not a folder");
}

TEST_F(ScriptEditorsTest, HeaderEditorTakesTheNameAndMatchAddressAndGivesTheTextBack) {
  Load();
  editors_->OpenEditorForUrl("http://www.site.test/", "about:blank", 0);
  TFrmScriptEditor* w = editors_->Window(0);
  TFrmScriptEditor::SetListModel(
      w->LUrlMatch,
      {{u"[Match it]            first.test", u"[Match it]            last.test"}, -1});
  bool manager_hidden = false;
  QString name, match_url;
  {
    TModalAnswerer answer([&](QWidget* modal) {
      auto* editor = qobject_cast<TksEditorFrm*>(modal);
      ASSERT_NE(editor, nullptr);
      manager_hidden = !w->isVisible();
      name = editor->EdName->text();
      match_url = editor->EdMatchUrl->text();
      editor->SetList(editor->cbEntryPoint, 1);
      editor->close();
    });
    Find<QPushButton>(w, "btnScriptEditor")->click();
    EXPECT_EQ(answer.seen, 1);
    EXPECT_TRUE(manager_hidden);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(name, QStringLiteral("site"));
    EXPECT_EQ(match_url, QStringLiteral("'last.test'"));  // none selected: the last entry
    const std::vector<std::u16string> lines = w->ScriptLines();
    ASSERT_GT(lines.size(), 12u);
    EXPECT_EQ(lines[0], u"[Script]");
    EXPECT_EQ(lines[5], u"    Name = site ;");
    EXPECT_EQ(lines[6], u"    Match Url = 'last.test' ;");
    EXPECT_EQ(lines[8], u"    Entry Point = NowDocunent ;");
    EXPECT_EQ(lines.back(), u"[/Script]");
  }

  // A header that names its match address keeps it.
  TFrmScriptEditor::SetListModel(w->LUrlMatch, {{u"[Match it]            other.test"}, 0});
  TModalAnswerer again([&](QWidget* modal) {
    match_url = qobject_cast<TksEditorFrm*>(modal)->EdMatchUrl->text();
    modal->close();
  });
  w->EditWithHeaderEditor();
  EXPECT_EQ(match_url, QStringLiteral("'last.test'"));
}

// The groups with their captions and the button column, top to bottom, with
// the Tags the buttons dispatch on.
TEST_F(ScriptEditorsTest, GroupsAndButtonColumn) {
  Load();
  editors_->OpenEditorForUrl("http://www.site.test/", "about:blank", 0);
  TFrmScriptEditor* w = editors_->Window(0);
  QApplication::processEvents();
  const std::pair<const char*, const char16_t*> groups[] = {
      {"GBname", u"[ Name ]  配置脚本名称"},
      {"GBurlMatch", u"[ URL_Match ]  当前脚本适用的网址"},
      {"GBn2", u"[Navigate2 Set]  网址拦截设置"},
      {"GBscript", u"[ Script ]  网页解析脚本"}};
  int top = -1;
  for (auto [name, caption] : groups) {
    SCOPED_TRACE(name);
    auto* group = Find<QGroupBox>(w, name);
    EXPECT_EQ(group->title(), QString::fromUtf16(caption));
    const int y = group->mapTo(w, QPoint(0, 0)).y();
    EXPECT_GT(y, top);
    top = y;
  }
  EXPECT_EQ(w->GBname->height(), 42);
  EXPECT_EQ(Tag(w->LUrlMatch), 0);
  EXPECT_EQ(Tag(w->Ln2), 1);

  struct Button {
    const char16_t* caption;
    std::optional<int> tag;  // none for the two clear buttons
    bool enabled;
  };
  const Button buttons[] = {
      {u"脚本库", -1, false},           {u"脚本编辑器", 3, true}, {u"保存", 1, true},
      {u"保存并退出", 2, true},         {u"退出", 0, true},       {u"Clear_Match", {}, true},
      {u"Clear_Navigate2Set", {}, true}};
  QList<QPushButton*> column = w->Panel1->findChildren<QPushButton*>();
  std::sort(column.begin(), column.end(),
            [](const QPushButton* a, const QPushButton* b) { return a->y() < b->y(); });
  ASSERT_EQ(column.size(), static_cast<qsizetype>(std::size(buttons)));
  for (size_t i = 0; i < std::size(buttons); ++i) {
    SCOPED_TRACE(i);
    const QPushButton* b = column[static_cast<qsizetype>(i)];
    EXPECT_EQ(b->text(), QString::fromUtf16(buttons[i].caption));
    if (buttons[i].tag) {
      EXPECT_EQ(Tag(b), *buttons[i].tag);
    }
    EXPECT_EQ(b->isEnabled(), buttons[i].enabled);
    EXPECT_EQ(b->size(), QSize(113, 41));
  }
  EXPECT_EQ(w->Panel1->width(), 127);
  EXPECT_FALSE(w->KeywordList->isVisible());
  QStringList keywords;
  for (int i = 0; i < w->KeywordList->count(); ++i) keywords << w->KeywordList->item(i)->text();
  EXPECT_EQ(keywords, (QStringList{"begin", "end", "Result", "True", "False"}));
}

TEST_F(ScriptEditorsTest, SplittersKeepTheGroupsVisible) {
  Load();
  editors_->OpenEditorForUrl("http://www.site.test/", "about:blank", 0);
  TFrmScriptEditor* w = editors_->Window(0);
  QApplication::processEvents();
  auto* splitters = Find<QSplitter>(w, "Splitters");
  EXPECT_EQ(splitters->handle(1)->objectName(), QStringLiteral("Splitter2"));
  EXPECT_EQ(splitters->handle(2)->objectName(), QStringLiteral("Splitter1"));
  const TGroupHeights start = w->GroupHeights();
  EXPECT_EQ(start[0], 106);
  EXPECT_EQ(start[1], 114);

  // Dragging Splitter2 up so that the URL-match group would be 40 high.
  QSplitterHandle* handle = splitters->handle(1);
  const QPoint grip(handle->width() / 2, 1);
  QTest::mousePress(handle, Qt::LeftButton, {}, grip);
  QTest::mouseMove(handle, grip - QPoint(0, 66));
  QTest::mouseRelease(handle, Qt::LeftButton, {}, grip - QPoint(0, 66));
  EXPECT_EQ(w->GroupHeights()[0], 55);

  w->SetGroupHeights({106, 50, start[2] + 64});
  w->Splitter1Moved();
  EXPECT_EQ(w->GroupHeights()[1], 50);
  w->SetGroupHeights({106, 40, start[2] + 74});
  w->Splitter1Moved();
  EXPECT_EQ(w->GroupHeights()[1], 55);
}

}  // namespace
}  // namespace kovra
