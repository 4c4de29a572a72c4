#include "UnitScriptForm.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

#include <functional>

#include "EditorText.h"
#include "ScriptRunner.h"

namespace kovra {
namespace {

constexpr int kWidth = 621;
constexpr int kHeight = 533;
constexpr int kEditorAreaHeight = 265;

struct TItem {
  const char* caption;  // null: a separator line
  int tag;
};

// The function menus; a negative tag marks a procedure, its size is the
// argument count.
constexpr TItem kPos[] = {{"PosCharA", 3},
                          {"PosChar", 3},
                          {"PosIgnChar", 2},
                          {"PosIgnCharA", 3},
                          {"PosRIgnChar", 2},
                          {"PosLongChar", 4},
                          {"PosLongCharC", 4},
                          {"PosForwardChar", 3},
                          {"PosForwardLongChar", 3},
                          {"PosForwardLongCharA", 3},
                          {"PosE", 3},
                          {"PosA", 3},
                          {nullptr, 0},
                          {"PosMatchLongChar", -5},
                          {"PosMaybeLongCharA", -5},
                          {"PosLongChar_IgnSepLongChar", -6}};
constexpr TItem kCopy[] = {{"CopyC", 3},        {"CopyQi", 3},       {"CopyQs", 3},
                           {"CopyQsIn", 4},     {"CopyQs_Match", 4}, {"CopyQs_Htm", 2},
                           {"CopyQs_HtmIn", 3}, {nullptr, 0},        {"CopyQs_IgnA", -8}};
constexpr TItem kTrim[] = {
    {"TrimCharA", 2},         {"TrimSpace", 1}, {"TrimLRSpace", 1},        {"TrimEReturn", 1},
    {"TrimLREReturn", 1},     {"TrimTab", 1},   {"TrimLRSpaceEReturn", 1}, {"TrimWithKovra", 1},
    {"TrimLRBracketsChr", 3}, {"TrimLeft", 1},  {"TrimRight", 1},          {"TrimSub", 3},
    {"TrimMatchSub", 3},      {"TrimHtm", 1}};
constexpr TItem kIs[] = {{"IsMatch", 2},      {"IsPosAt", 3},     {"IsCharIn", 2},
                         {"IsLongCharIn", 2}, {"FnOneDomain", 2}, {"FnItMatch", 2}};
constexpr TItem kGetData[] = {{"FnDeDomain", 1}, {"FnFullDomain", 1}, {"ExchangeLongChar", 5}};
constexpr TItem kX2Y[] = {{"FnIntTostr", 1}, {"FnStrToInt", 1}};
constexpr TItem kCase[] = {{"FnLowerCase", 1}, {"FnUpCase", 1}};
constexpr TItem kCalc[] = {{"inc", 1}, {"dec", 1}};

// The property menus under "Property Read/Write": every item carries its
// submenu's tag.
constexpr TItem kBool[] = {{"HandleRedirects", 0}, {"AllowCookies", 0}};
constexpr TItem kInteger[] = {{"Authretries", 1}, {"RedirectMaximum", 1}, {nullptr, 0},
                              {"Port", 1},        {"BoundPort", 1},       {"BoundPortMax", 1},
                              {"BoundPortMin", 1}};
constexpr TItem kString[] = {{"Request.Referer", 2},
                             {"Request.ContentType", 2},
                             {"Request.Customheaders.Text", 2},
                             {"Request.Accept", 2},
                             {"Request.AcceptCharset", 2},
                             {"Request.AcceptEncoding", 2},
                             {"Request.AcceptLanguage", 2},
                             {"Request.ProxyConnection", 2},
                             {"Request.Pragma", 2},
                             {nullptr, 0},
                             {"Request.Host", 2},
                             {"Request.From", 2},
                             {"Request.UserAgent", 2},
                             {"Request.Password", 2},
                             {"Request.UserName", 2},
                             {nullptr, 0},
                             {"Host", 2},
                             {"BoundIP", 2}};
constexpr TItem kXString[] = {{"HttpOptions", 3}, {"ProtocolVersion", 3}};

template <size_t N>
void AddItems(QMenu* menu, const TItem (&items)[N], const std::function<void(QAction*)>& click) {
  for (const TItem& item : items) {
    if (item.caption == nullptr) {
      menu->addSeparator();
      continue;
    }
    QAction* action = menu->addAction(QString::fromLatin1(item.caption));
    action->setObjectName(QString::fromLatin1(item.caption));
    action->setProperty("Tag", item.tag);
    QObject::connect(action, &QAction::triggered, menu, [click, action] { click(action); });
  }
}

QPushButton* Button(const QString& caption, const QString& name, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  button->setMinimumWidth(84);
  return button;
}

QTextEdit* ScriptBox(const QString& name, QWidget* parent) {
  auto* box = new QTextEdit(parent);
  box->setObjectName(name);
  box->setAcceptRichText(false);
  box->setLineWrapMode(QTextEdit::NoWrap);
  box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  box->setFont(DefaultEditorFont());
  box->document()->setDefaultFont(DefaultEditorFont());
  InstallIndentOnEnter(box);
  return box;
}

}  // namespace

TScriptForm::TScriptForm(QTextEdit* main_editor, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      main_editor_(main_editor),
      run_(new TScriptRun(this)) {
  setObjectName(QStringLiteral("ScriptForm"));
  setWindowTitle(QStringLiteral("Run Script"));
  setProperty("Tag", 0);
  resize(kWidth, kHeight);

  auto* menu_bar = new QMenuBar(this);
  menu_bar->setObjectName(QStringLiteral("MainMenu1"));
  BuildMenus(menu_bar);

  editor_ = ScriptBox(QStringLiteral("Editor"), this);
  editor_->setPlainText(StartingLines().join(u'\n'));
  result_ = ScriptBox(QStringLiteral("Result"), this);

  run_button_ = Button(QStringLiteral("Run"), QStringLiteral("Run"), this);
  stop_button_ = Button(QStringLiteral("Stop"), QStringLiteral("Stop"), this);
  ok_button_ = Button(QStringLiteral("OK"), QStringLiteral("Button1"), this);
  close_button_ = Button(QStringLiteral("Close"), QStringLiteral("Close"), this);
  auto* clear = Button(QStringLiteral("<< Clear"), QStringLiteral("Clear"), this);
  auto* clear_result = Button(QStringLiteral("Clear"), QStringLiteral("Button2"), this);
  busy_ = new QProgressBar(this);
  busy_->setObjectName(QStringLiteral("Busy"));
  busy_->setRange(0, 0);
  busy_->setTextVisible(false);
  busy_->setMaximumWidth(84);
  busy_->setFixedHeight(12);
  stop_button_->setEnabled(false);
  busy_->setVisible(false);

  auto* editor_buttons = new QVBoxLayout;
  editor_buttons->addWidget(run_button_);
  editor_buttons->addWidget(stop_button_);
  editor_buttons->addWidget(busy_, 0, Qt::AlignHCenter);
  editor_buttons->addSpacing(8);
  editor_buttons->addWidget(ok_button_);
  editor_buttons->addWidget(close_button_);
  editor_buttons->addStretch();
  editor_buttons->addWidget(clear);

  auto* upper = new QWidget(this);
  upper->setFixedHeight(kEditorAreaHeight);
  auto* upper_layout = new QHBoxLayout(upper);
  upper_layout->setContentsMargins(0, 0, 0, 0);
  upper_layout->addWidget(editor_, 1);
  upper_layout->addLayout(editor_buttons);

  auto* result_buttons = new QVBoxLayout;
  result_buttons->addWidget(clear_result);
  result_buttons->addStretch();
  auto* lower = new QHBoxLayout;
  lower->addWidget(result_, 1);
  lower->addLayout(result_buttons);

  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(menu_bar);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(upper);
  layout->addLayout(lower, 1);

  connect(run_button_, &QPushButton::clicked, this, &TScriptForm::RunClick);
  connect(stop_button_, &QPushButton::clicked, this, &TScriptForm::StopClick);
  connect(ok_button_, &QPushButton::clicked, this, [this] {
    Button1Click();
    accept();
  });
  connect(close_button_, &QPushButton::clicked, this, &TScriptForm::reject);
  connect(clear, &QPushButton::clicked, this, &TScriptForm::ClearClick);
  connect(clear_result, &QPushButton::clicked, this, &TScriptForm::Button2Click);
  connect(run_, &TScriptRun::Finished, this, &TScriptForm::RunDone);
}

TScriptForm::~TScriptForm() = default;

void TScriptForm::BuildMenus(QMenuBar* bar) {
  const auto fn = [this](QAction* item) { fnClick(item); };
  const auto id = [this](QAction* item) { idCmd(item); };
  const auto menu = [bar](const char* title) {
    QMenu* m = bar->addMenu(QString::fromLatin1(title));
    m->setObjectName(QString::fromLatin1(title));
    return m;
  };
  AddItems(menu("Pos"), kPos, fn);
  AddItems(menu("Copy"), kCopy, fn);
  AddItems(menu("Trim"), kTrim, fn);
  AddItems(menu("is"), kIs, fn);
  AddItems(menu("GetData"), kGetData, fn);
  AddItems(menu("X2Y"), kX2Y, fn);
  AddItems(menu("Case"), kCase, fn);
  AddItems(menu("calc"), kCalc, fn);

  QMenu* http = menu("IdHttp");
  QMenu* properties = http->addMenu(QStringLiteral("Property Read/Write"));
  properties->setObjectName(QStringLiteral("PropertyReadWrite"));
  const auto submenu = [properties](const char* title, int tag) {
    QMenu* m = properties->addMenu(QString::fromLatin1(title));
    m->setObjectName(QString::fromLatin1(title));
    m->menuAction()->setProperty("Tag", tag);
    return m;
  };
  AddItems(submenu("Bool", 0), kBool, id);
  AddItems(submenu("Integer", 1), kInteger, id);
  AddItems(submenu("String", 2), kString, id);
  AddItems(submenu("xString", 3), kXString, id);
  QAction* get = http->addAction(QStringLiteral("Get"));
  get->setObjectName(QStringLiteral("Get1"));
  connect(get, &QAction::triggered, this, [this] { InsertAtCaret(editor_, GetTemplate()); });
  QAction* post = http->addAction(QStringLiteral("Post"));
  post->setObjectName(QStringLiteral("Post1"));
  connect(post, &QAction::triggered, this, [this] { InsertAtCaret(editor_, PostTemplate()); });
}

void TScriptForm::fnClick(QAction* item) {
  InsertAtCaret(editor_, FunctionTemplate(item->text(), item->property("Tag").toInt()));
}

void TScriptForm::idCmd(QAction* item) {
  InsertAtCaret(editor_, PropertyTemplate(item->text(), item->property("Tag").toInt()));
}

bool TScriptForm::IsRunning() const {
  return run_->IsRunning();
}

void TScriptForm::RunClick() {
  if (run_->IsRunning()) return;
  QString test_data;
  switch (property("Tag").toInt()) {
    case 0:
      test_data = DocumentText(*main_editor_->document());
      break;
    case 1:
      test_data = SelectedText(main_editor_->textCursor());
      break;
    default:
      break;
  }
  if (run_->Start(DocumentText(*editor_->document()), test_data)) SetRunning(true);
}

void TScriptForm::StopClick() {
  run_->Stop();
}

void TScriptForm::RunDone(const QString& result) {
  result_->setPlainText(result);
  SetRunning(false);
  emit RunFinished();
}

void TScriptForm::SetRunning(bool running) {
  run_button_->setEnabled(!running);
  stop_button_->setEnabled(running);
  ok_button_->setEnabled(!running);
  close_button_->setEnabled(!running);
  busy_->setVisible(running);
  if (running) {
    stop_button_->setFocus();
  } else {
    run_button_->setFocus();
  }
}

void TScriptForm::Button1Click() {
  const QString text = DocumentText(*result_->document());
  switch (property("Tag").toInt()) {
    case 0: {
      QTextCursor all(main_editor_->document());
      all.select(QTextCursor::Document);
      all.insertText(text);
      break;
    }
    case 1: {
      QTextCursor selection = main_editor_->textCursor();
      selection.insertText(text);
      main_editor_->setTextCursor(selection);
      break;
    }
    default:
      break;
  }
}

void TScriptForm::ClearClick() {
  QTextCursor all(editor_->document());
  all.select(QTextCursor::Document);
  all.insertText(StartingLines().join(u'\n'));
}

void TScriptForm::Button2Click() {
  result_->clear();
}

void TScriptForm::reject() {
  if (run_->IsRunning()) return;
  QDialog::reject();
}

void TScriptForm::showEvent(QShowEvent* event) {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  QDialog::showEvent(event);
}

}  // namespace kovra
