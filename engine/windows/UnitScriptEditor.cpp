#include "windows/UnitScriptEditor.h"

#include <QComboBox>
#include <QCursor>
#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTextBlock>
#include <QVBoxLayout>

#include "library/UnitTScriptLibrary.h"
#include "platform/CodePage.h"
#include "windows/UnitEditForm.h"
#include "windows/UnitScriptMemo.h"
#include "windows/UnitTMyEdit.h"
#include "windows/WindowLook.h"
#include "windows/ksEditorFormWindow.h"

namespace kovra {
namespace {

constexpr std::u16string_view kCaption = u"Kovra Script Manager v0.2 alpha";

QListWidget* EntryList(QWidget* parent, const char* name, int tag) {
  auto* list = new QListWidget(parent);
  list->setObjectName(QString::fromLatin1(name));
  SetTag(list, tag);
  // Entries line their values up with spaces: a fixed-pitch font is asked
  // for under the form's font name.
  list->setFont(CellFont(FixedPitchFont(), 18));
  list->setUniformItemSizes(true);
  return list;
}

QGroupBox* Group(QWidget* parent, const char* name, std::u16string_view caption, QWidget* content) {
  auto* group = new QGroupBox(QText(caption), parent);
  group->setObjectName(QString::fromLatin1(name));
  auto* layout = new QVBoxLayout(group);
  layout->setContentsMargins(2, 0, 2, 2);
  if (content != nullptr) {
    content->setParent(group);
    layout->addWidget(content);
  }
  // Splitters may squeeze a group below its natural size; the limits after
  // a move put it back.
  group->setMinimumHeight(10);
  return group;
}

}  // namespace

TFrmScriptEditor::TFrmScriptEditor(TScriptLibrary& library) : QWidget(nullptr), library_(library) {
  setObjectName(QStringLiteral("FrmScriptEditor"));
  setWindowTitle(QText(kCaption));
  setAttribute(Qt::WA_QuitOnClose, false);
  setFont(FormFont());
  resize(949, 656);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
  }

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(0, 0, 0, 0);
  auto* panel = new QWidget(this);
  panel->setObjectName(QStringLiteral("Panel"));
  root->addWidget(panel);
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);

  EdName = new TMyEdit;
  EdName->setObjectName(QStringLiteral("EdName"));
  EdName->setAlign(TMyEdit::alClient);
  EdName->setFont(CellFont(FormFont(), 18));
  GBname = Group(panel, "GBname", u"[ Name ]  配置脚本名称", EdName);
  GBname->setFixedHeight(42);
  column->addWidget(GBname);

  Splitters = new QSplitter(Qt::Vertical, panel);
  Splitters->setObjectName(QStringLiteral("Splitters"));
  Splitters->setHandleWidth(3);
  Splitters->setChildrenCollapsible(false);
  column->addWidget(Splitters, 1);

  LUrlMatch = EntryList(nullptr, "LUrlMatch", 0);
  GBurlMatch = Group(Splitters, "GBurlMatch", u"[ URL_Match ]  当前脚本适用的网址", LUrlMatch);
  Ln2 = EntryList(nullptr, "Ln2", 1);
  GBn2 = Group(Splitters, "GBn2", u"[Navigate2 Set]  网址拦截设置", Ln2);

  auto* bottom = new QWidget(Splitters);
  bottom->setMinimumHeight(10);
  auto* bottom_row = new QHBoxLayout(bottom);
  bottom_row->setContentsMargins(0, 0, 0, 0);
  bottom_row->setSpacing(0);
  GBscript = Group(bottom, "GBscript", u"[ Script ]  网页解析脚本", nullptr);
  KeywordList = new QListWidget(GBscript);
  KeywordList->setObjectName(QStringLiteral("KeywordList"));
  KeywordList->addItems({"begin", "end", "Result", "True", "False"});
  KeywordList->hide();
  FScriptMemo = new TMyMemo(GBscript, KeywordList);
  FScriptMemo->setObjectName(QStringLiteral("ScriptMemo"));
  GBscript->layout()->addWidget(FScriptMemo);
  bottom_row->addWidget(GBscript, 1);

  Panel1 = new QWidget(bottom);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFixedWidth(127);
  auto* buttons = new QVBoxLayout(Panel1);
  buttons->setContentsMargins(7, 7, 7, 7);
  buttons->setSpacing(6);
  auto add_button = [&](const char* name, std::u16string_view caption) {
    auto* button = new QPushButton(QText(caption), Panel1);
    button->setObjectName(QString::fromLatin1(name));
    button->setFixedSize(113, 41);
    buttons->addWidget(button);
    return button;
  };
  auto tagged = [&](const char* name, std::u16string_view caption, int tag) {
    QPushButton* button = add_button(name, caption);
    SetTag(button, tag);
    return button;
  };
  tagged("btnScriptLibrary", u"脚本库", -1)->setEnabled(false);
  for (QPushButton* button :
       {tagged("btnScriptEditor", u"脚本编辑器", 3), tagged("btnSave", u"保存", 1),
        tagged("btnSaveAndExit", u"保存并退出", 2), tagged("btnExit", u"退出", 0)}) {
    connect(button, &QPushButton::clicked, this, [this, button] { btnScriptEditorClick(button); });
  }
  QPushButton* clear_match = add_button("btnClearMatch", u"Clear_Match");
  QPushButton* clear_navigate = add_button("btnClearNavigate2Set", u"Clear_Navigate2Set");
  connect(clear_match, &QPushButton::clicked, LUrlMatch, &QListWidget::clear);
  connect(clear_navigate, &QPushButton::clicked, Ln2, &QListWidget::clear);
  buttons->addStretch(1);
  bottom_row->addWidget(Panel1);

  Splitters->addWidget(GBurlMatch);
  Splitters->addWidget(GBn2);
  Splitters->addWidget(bottom);
  Splitters->setStretchFactor(0, 0);
  Splitters->setStretchFactor(1, 0);
  Splitters->setStretchFactor(2, 1);
  Splitters->handle(1)->setObjectName(QStringLiteral("Splitter2"));
  Splitters->handle(2)->setObjectName(QStringLiteral("Splitter1"));
  for (int i : {1, 2}) {
    QSplitterHandle* handle = Splitters->handle(i);
    QPalette grey = handle->palette();
    grey.setColor(QPalette::Window, BarGrey());
    handle->setPalette(grey);
    handle->setAutoFillBackground(true);
  }
  const int rest = height() - 42 - 106 - 114 - 6;
  Splitters->setSizes({106, 114, rest > 100 ? rest : 100});
  connect(Splitters, &QSplitter::splitterMoved, this, [this](int, int index) {
    if (index == 1) Splitter2Moved();
    if (index == 2) Splitter1Moved();
  });

  FEditForm = new TEditForm(this);
  FEditForm->hide();
  FHeaderEditor = new TksEditorFrm(this);

  connect(LUrlMatch, &QListWidget::itemClicked, this, [this] { L2Click(LUrlMatch); });
  connect(Ln2, &QListWidget::itemClicked, this, [this] { L2Click(Ln2); });
}

TFrmScriptEditor::~TFrmScriptEditor() = default;

TEntryList TFrmScriptEditor::ListModel(const QListWidget* list) {
  TEntryList model;
  model.items.reserve(static_cast<size_t>(list->count()));
  for (int i = 0; i < list->count(); ++i)
    model.items.push_back(list->item(i)->text().toStdU16String());
  const QListWidgetItem* current = list->currentItem();
  model.selected = current != nullptr && current->isSelected() ? list->currentRow() : -1;
  return model;
}

void TFrmScriptEditor::SetListModel(QListWidget* list, const TEntryList& model) {
  list->clear();
  for (const std::u16string& item : model.items) list->addItem(QText(item));
  if (model.selected >= 0 && model.selected < list->count()) {
    list->setCurrentRow(model.selected);
  } else {
    list->setCurrentRow(-1);
  }
}

std::vector<std::u16string> TFrmScriptEditor::ScriptLines() const {
  return MemoLines(FScriptMemo);
}

void TFrmScriptEditor::SetScriptLines(const std::vector<std::u16string>& lines) {
  SetMemoLines(FScriptMemo, lines);
}

TManagerContent TFrmScriptEditor::Content() const {
  TManagerContent c;
  c.name = EdName->text().toStdU16String();
  c.url_match = ListModel(LUrlMatch);
  c.navigate = ListModel(Ln2);
  c.script_lines = ScriptLines();
  return c;
}

void TFrmScriptEditor::SetContent(const TManagerContent& c) {
  EdName->setText(QText(c.name));
  SetListModel(LUrlMatch, c.url_match);
  SetListModel(Ln2, c.navigate);
  SetScriptLines(c.script_lines);
}

void TFrmScriptEditor::SetupForUrl(std::string_view url, std::string_view filter_url,
                                   uint32_t script_id) {
  // An ID that no library entry bears starts a new entry as ID 0 does.
  FScriptID = library_.Entry(script_id) != nullptr ? script_id : library_.AddEntry();
  SetContent(NewScriptContent(url, filter_url));
  CopyToLibraryEntry(FScriptID - 1);
}

void TFrmScriptEditor::CopyToLibraryEntry(uint32_t index) {
  library_.UpdateEntry(index + 1, LibraryFields(Content()));
}

bool TFrmScriptEditor::SaveScript() {
  CopyToLibraryEntry(FScriptID - 1);
  std::string error;
  if (library_.SaveEntry(FScriptID, ToNarrow(EdName->text().toStdU16String()), &error)) return true;
  ReportSaveFailure(error);
  return false;
}

void TFrmScriptEditor::ReportSaveFailure(const std::string& reason) {
  QMessageBox box(QMessageBox::Warning, QText(kCaption),
                  QStringLiteral("The script was not saved: %1.")
                      .arg(QString::fromStdU16String(ToWide(reason))),
                  QMessageBox::Ok, this);
  box.setObjectName(QStringLiteral("SaveFailure"));
  box.exec();
}

void TFrmScriptEditor::EditWithHeaderEditor() {
  hide();
  FHeaderEditor->LoadFromText(LinesText(ScriptLines()));
  FHeaderEditor->SetEdit(FHeaderEditor->EdName, EdName->text());
  // A header that names no match address takes the page's from the list.
  if ((FHeaderEditor->EdMatchUrl->text().isEmpty() || !FHeaderEditor->MatchUrlGiven()) &&
      LUrlMatch->count() > 0) {
    FHeaderEditor->SetEdit(FHeaderEditor->EdMatchUrl,
                           QText(HeaderEditorMatchUrl(ListModel(LUrlMatch))));
  }
  FHeaderEditor->ShowModal();
  SetScriptLines(TextLines(FHeaderEditor->ComposeText()));
  show();
}

void TFrmScriptEditor::L2Click(QListWidget* list) {
  const QListWidgetItem* current = list->currentItem();
  if (current == nullptr || !current->isSelected()) return;
  const std::vector<std::u16string> kinds = BarKindItems(Tag(list));
  FEditForm->Box->clear();
  for (const std::u16string& kind : kinds) FEditForm->Box->addItem(QText(kind));
  SetTag(FEditForm, BarTarget(Tag(list)));
  const TBarEntry entry = SplitEntryForBar(current->text().toStdU16String());
  FEditForm->Box->setCurrentIndex(entry.has_kind ? FindKindItem(kinds, entry.kind) : -1);
  FEditForm->BoxChange();
  FEditForm->Value->setText(QText(entry.value));

  const QPoint pointer = QCursor::pos();
  const QScreen* screen = QGuiApplication::screenAt(pointer);
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  const int screen_right =
      screen != nullptr ? screen->geometry().x() + screen->geometry().width() : pointer.x() + 866;
  const TBarPlace place = PlaceBar(pointer.x(), pointer.y(), FEditForm->width(), screen_right);
  FEditForm->move(place.left, place.top);
  FEditForm->show();
  FEditForm->raise();
  FEditForm->activateWindow();
}

TGroupHeights TFrmScriptEditor::GroupHeights() const {
  const QList<int> sizes = Splitters->sizes();
  return {sizes.value(0), sizes.value(1), sizes.value(2)};
}

void TFrmScriptEditor::SetGroupHeights(const TGroupHeights& h) {
  Splitters->setSizes({h[0], h[1], h[2]});
}

void TFrmScriptEditor::Splitter2Moved() {
  const TGroupHeights h = GroupHeights();
  const TGroupHeights limited = AfterSplitter2Moved(h);
  if (limited != h) SetGroupHeights(limited);
}

void TFrmScriptEditor::Splitter1Moved() {
  const TGroupHeights h = GroupHeights();
  const TGroupHeights limited = AfterSplitter1Moved(h);
  if (limited != h) SetGroupHeights(limited);
}

void TFrmScriptEditor::btnScriptEditorClick(QPushButton* button) {
  switch (Tag(button)) {
    case 3:
      EditWithHeaderEditor();
      break;
    case 1:
      SaveScript();
      break;
    case 2:
      // A script that was not saved keeps its window open.
      if (SaveScript()) close();
      break;
    case 0:
      close();
      break;
    default:
      break;
  }
}

void TFrmScriptEditor::changeEvent(QEvent* e) {
  if (e->type() == QEvent::ActivationChange && isActiveWindow()) FEditForm->hide();
  QWidget::changeEvent(e);
}

}  // namespace kovra
