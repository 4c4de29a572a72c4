#include "windows/ksEditorFormWindow.h"

#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

#include "windows/UnitScriptEditorLogic.h"
#include "windows/UnitScriptMemo.h"
#include "windows/WindowLook.h"

namespace kovra {
namespace {

QFont Weighted(bool bold) {
  QFont font = FormFont();
  font.setBold(bold);
  return font;
}

QGroupBox* CaptionedGroup(QWidget* parent, const char* name, std::u16string_view caption) {
  auto* group = new QGroupBox(QText(caption), parent);
  group->setObjectName(QString::fromLatin1(name));
  group->setFont(Weighted(true));
  QPalette green = group->palette();
  green.setColor(QPalette::WindowText, DarkGreen());
  group->setPalette(green);
  return group;
}

QPlainTextEdit* Memo(QGroupBox* group, const char* name) {
  auto* memo = new QPlainTextEdit(group);
  memo->setObjectName(QString::fromLatin1(name));
  memo->setFont(Weighted(true));
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  auto* layout = new QVBoxLayout(group);
  layout->setContentsMargins(4, 2, 4, 4);
  layout->addWidget(memo);
  return memo;
}

QString MemoText(const QPlainTextEdit* memo) {
  QString text;
  const std::vector<std::u16string> lines = MemoLines(memo);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += QLatin1Char('\n');
    text += QText(lines[i]);
  }
  return text;
}

}  // namespace

TksEditorFrm::TksEditorFrm(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("ksEditorFrm"));
  setWindowTitle(QStringLiteral("KScript Editor for Kovra 2010 v0.1"));
  setAttribute(Qt::WA_QuitOnClose, false);
  setFont(FormFont());
  resize(1062, 635);

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(0, 0, 0, 0);
  root->setSpacing(0);
  gb1 = CaptionedGroup(this, "gb1", u"          Header Message          ");
  gb1->setFixedHeight(193);
  root->addWidget(gb1);
  auto* lower = new QHBoxLayout;
  lower->setSpacing(0);
  gb2 = CaptionedGroup(this, "gb2", u"      Define Variant      ");
  gb2->setFixedWidth(201);
  gb3 = CaptionedGroup(this, "gb3", u"        Script Content        ");
  lower->addWidget(gb2);
  lower->addWidget(gb3, 1);
  root->addLayout(lower, 1);
  MemoVariant = Memo(gb2, "MemoVariant");
  MemoContent = Memo(gb3, "MemoContent");

  constexpr std::array<int, kHeaderRows> kTops = {16, 40, 64, 88, 112, 136, 160};
  QWidget* inputs[kHeaderRows] = {};
  auto edit = [&](int tag, const char* name, int width) {
    auto* e = new QLineEdit(gb1);
    e->setObjectName(QString::fromLatin1(name));
    e->setFont(Weighted(true));
    e->setGeometry(136, kTops[static_cast<size_t>(tag)], width, 21);
    SetTag(e, tag);
    connect(e, &QLineEdit::textChanged, this, [this, e] { EditChange(e); });
    inputs[tag] = e;
    return e;
  };
  auto list = [&]<size_t N>(int tag, const char* name,
                            const std::array<std::u16string_view, N>& items) {
    auto* c = new QComboBox(gb1);
    c->setObjectName(QString::fromLatin1(name));
    c->setFont(Weighted(true));
    c->setEditable(false);
    for (std::u16string_view item : items) c->addItem(QText(item));
    c->setGeometry(136, kTops[static_cast<size_t>(tag)], 217, 21);
    SetTag(c, tag);
    connect(c, &QComboBox::currentIndexChanged, this, [this, c] { ListChange(c); });
    inputs[tag] = c;
    return c;
  };
  EdParsersVersion = edit(0, "EdParsersVersion", 201);
  EdName = edit(1, "EdName", 215);
  EdMatchUrl = edit(2, "EdMatchUrl", 215);
  cbMatchMode = list(3, "cbMatchMode", kMatchModeItems);
  cbEntryPoint = list(4, "cbEntryPoint", kEntryPointItems);
  cbNeedResult = list(5, "cbNeedResult", kBooleanItems);
  cbResultToNewPage = list(6, "cbResultToNewPage", kBooleanItems);

  QPalette tip_colours = palette();
  tip_colours.setColor(QPalette::Text, Qt::red);
  QPalette line_colours = palette();
  line_colours.setColor(QPalette::Base, MoneyGreen());
  for (int tag = 0; tag < kHeaderRows; ++tag) {
    const int top = kTops[static_cast<size_t>(tag)];
    auto* label = new QLineEdit(QText(kHeaderRowLabels[static_cast<size_t>(tag)]), gb1);
    label->setFont(Weighted(true));
    label->setEnabled(false);
    label->setGeometry(8, top, 129, 21);
    auto* line = new QLineEdit(gb1);
    line->setObjectName(QStringLiteral("e%1").arg(tag));
    line->setReadOnly(true);
    line->setFont(Weighted(true));
    line->setPalette(line_colours);
    line->setGeometry(360, top, 258, 21);
    Lines[static_cast<size_t>(tag)] = line;
    auto* tip = new QLineEdit(QText(kHeaderTips[static_cast<size_t>(tag)]), gb1);
    tip->setReadOnly(true);
    tip->setFont(Weighted(false));
    tip->setPalette(tip_colours);
    tip->setGeometry(623, top, 434, 21);
    tip->setCursorPosition(0);
    // Labels and tips stay out of the tab order; the inputs keep theirs.
    label->setFocusPolicy(Qt::NoFocus);
    tip->setFocusPolicy(Qt::ClickFocus);
    inputs[tag]->raise();
  }

  // A small up-down control at the version edit's end; it has no effect.
  auto* updown = new QWidget(gb1);
  updown->setObjectName(QStringLiteral("UpDown1"));
  updown->setGeometry(336, 14, 16, 24);
  auto* arrows = new QVBoxLayout(updown);
  arrows->setContentsMargins(0, 0, 0, 0);
  arrows->setSpacing(0);
  for (Qt::ArrowType arrow : {Qt::UpArrow, Qt::DownArrow}) {
    auto* button = new QToolButton(updown);
    button->setArrowType(arrow);
    button->setFixedSize(16, 12);
    button->setFocusPolicy(Qt::NoFocus);
    arrows->addWidget(button);
  }

  ResetFields();
}

void TksEditorFrm::SetEdit(QLineEdit* edit, const QString& text) {
  edit->setText(text);
  EditChange(edit);
}

void TksEditorFrm::SetList(QComboBox* list, int index) {
  if (index >= 0 && index < list->count()) list->setCurrentIndex(index);
  ListChange(list);
}

void TksEditorFrm::EditChange(QLineEdit* edit) {
  const int tag = Tag(edit);
  const std::u16string text = edit->text().toStdU16String();
  // A version with anything but digits and dots leaves the last valid line.
  if (tag == 0 && !IsVersionText(text)) return;
  ShowLine(tag, QText(HeaderLine(tag, text)));
}

void TksEditorFrm::ListChange(QComboBox* list) {
  const int tag = Tag(list);
  ShowLine(tag, QText(HeaderLine(tag, list->currentText().toStdU16String())));
}

void TksEditorFrm::ShowLine(int tag, const QString& line) {
  QLineEdit* display = Lines[static_cast<size_t>(tag)];
  display->setText(line);
  display->setCursorPosition(0);  // a long line shows its label
}

void TksEditorFrm::ShowValues(const THeaderEditorValues& v) {
  SetEdit(EdParsersVersion, QText(v.version));
  SetEdit(EdName, QText(v.name));
  SetEdit(EdMatchUrl, QText(v.match_url));
  SetList(cbMatchMode, v.match_mode);
  SetList(cbEntryPoint, v.entry_point);
  SetList(cbNeedResult, v.need_result);
  SetList(cbResultToNewPage, v.result_to_new_page);
  SetMemoLines(MemoVariant, TextLines(v.define_variant));
  SetMemoLines(MemoContent, TextLines(v.script_content));
  match_url_given_ = v.match_url_given;
}

void TksEditorFrm::ResetFields() { ShowValues(THeaderEditorValues()); }

void TksEditorFrm::LoadFromText(std::u16string_view text) { ShowValues(HeaderEditorValues(text)); }

std::u16string TksEditorFrm::ComposeText() const {
  std::array<std::u16string, kHeaderRows> lines;
  for (size_t i = 0; i < lines.size(); ++i) lines[i] = Lines[i]->text().toStdU16String();
  return ComposeFromHeaderLines(lines, MemoText(MemoVariant).toStdU16String(),
                                MemoText(MemoContent).toStdU16String());
}

void TksEditorFrm::ShowModal() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect desk = screen->availableGeometry();
    move(desk.center() - QPoint(width() / 2, height() / 2));
  }
  exec();
}

}  // namespace kovra
