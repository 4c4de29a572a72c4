#include "windows/UnitEditForm.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWindow>

#include "platform/CodePage.h"
#include "textlib/UnitUrlFunctions.h"
#include "windows/UnitEditFormLogic.h"
#include "windows/UnitScriptEditor.h"
#include "windows/UnitTMyEdit.h"
#include "windows/WindowLook.h"

namespace kovra {
namespace {

QFrame* BevelPanel(QFrame* frame) {
  frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  frame->setLineWidth(2);
  frame->setAutoFillBackground(true);
  return frame;
}

std::u16string Wide(const QString& s) {
  return s.toStdU16String();
}

}  // namespace

TEditForm::TEditForm(TFrmScriptEditor* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint), FOwnerEditor(owner) {
  setObjectName(QStringLiteral("EditForm"));
  setAttribute(Qt::WA_QuitOnClose, false);
  setFont(FormFont());
  setFixedSize(866, 58);
  QPalette grey = palette();
  grey.setColor(QPalette::Window, BarGrey());
  setPalette(grey);
  setAutoFillBackground(true);

  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);

  Panel3 = new QLabel(QStringLiteral("||"), this);
  Panel3->setObjectName(QStringLiteral("Panel3"));
  BevelPanel(Panel3);
  Panel3->setAlignment(Qt::AlignCenter);
  Panel3->setFixedWidth(19);
  Panel3->setCursor(Qt::SizeAllCursor);
  Panel3->installEventFilter(this);
  row->addWidget(Panel3);

  auto* centre = BevelPanel(new QFrame(this));
  centre->setObjectName(QStringLiteral("Panel2"));
  QPalette face = centre->palette();
  face.setColor(QPalette::Window, face.color(QPalette::Button));
  centre->setPalette(face);
  auto* centre_layout = new QVBoxLayout(centre);
  centre_layout->setContentsMargins(2, 2, 2, 2);
  centre_layout->setSpacing(0);
  auto* inputs = new QHBoxLayout;
  inputs->setSpacing(1);
  Box = new QComboBox(centre);
  Box->setObjectName(QStringLiteral("Box"));
  Box->setEditable(false);
  Box->setFixedSize(99, 26);
  // Kinds are chosen, never typed: no input method on the box.
  Box->setAttribute(Qt::WA_InputMethodEnabled, false);
  Value = new TMyEdit(centre);
  Value->setObjectName(QStringLiteral("Value"));
  Value->setFixedSize(361, 26);
  Value->installEventFilter(this);
  btnGetDomain = new QPushButton(QText(u"截取域名"), centre);
  btnGetDomain->setObjectName(QStringLiteral("btnGetDomain"));
  btnGetDomain->setFixedSize(83, 26);
  btnFullName = new QPushButton(QText(u"完整域名"), centre);
  btnFullName->setObjectName(QStringLiteral("btnFullName"));
  btnFullName->setFixedSize(83, 26);
  inputs->addWidget(Box);
  inputs->addWidget(Value);
  inputs->addWidget(btnGetDomain);
  inputs->addWidget(btnFullName);
  inputs->addStretch(1);
  centre_layout->addLayout(inputs);
  centre_layout->addStretch(1);
  Tips = new TMyEdit(centre);
  Tips->setObjectName(QStringLiteral("Tips"));
  Tips->setAlign(TMyEdit::alBottom);
  Tips->setReadOnly(true);
  Tips->setFocusPolicy(Qt::NoFocus);
  Tips->setFrame(false);
  QPalette tips = Tips->palette();
  tips.setColor(QPalette::Base, tips.color(QPalette::Button));
  tips.setColor(QPalette::Text, Qt::blue);
  Tips->setPalette(tips);
  centre_layout->addWidget(Tips);
  row->addWidget(centre, 1);

  auto* buttons = BevelPanel(new QFrame(this));
  buttons->setObjectName(QStringLiteral("Panel1"));
  buttons->setFixedWidth(212);
  auto* buttons_layout = new QHBoxLayout(buttons);
  buttons_layout->setContentsMargins(2, 2, 2, 2);
  buttons_layout->setSpacing(1);
  auto add_button = [&](QPushButton*& button, const char* name, std::u16string_view caption,
                        int tag) {
    button = new QPushButton(QText(caption), buttons);
    button->setObjectName(QString::fromLatin1(name));
    button->setFixedSize(51, 50);
    SetTag(button, tag);
    buttons_layout->addWidget(button);
    QPushButton* self = button;
    connect(button, &QPushButton::clicked, this, [this, self] { ResultClick(self); });
  };
  add_button(btnCancel, "btnCancel", u"取消", 2);
  add_button(btnDel, "btnDel", u"删除", 4);
  add_button(btnAdd, "btnAdd", u"新增", 3);
  add_button(btnOk, "btnOk", u"确定", 1);
  row->addWidget(buttons);

  connect(Box, &QComboBox::activated, this, [this] { BoxChange(); });
  connect(Value, &QLineEdit::returnPressed, this, [this] { ResultClick(btnOk); });
  connect(btnGetDomain, &QPushButton::clicked, this, [this] { btnGetDomainClick(); });
  connect(btnFullName, &QPushButton::clicked, this, [this] { btnFullNameClick(); });
}

void TEditForm::BoxChange() {
  const int32_t index = EntryKindIndex(Wide(Box->currentText()));
  if (index < 0) return;
  Tips->setText(QText(kEntryTips[static_cast<size_t>(index)]));
  Tips->setCursorPosition(0);
  if (kEntryKinds[static_cast<size_t>(index)] == u"[ExUrl]")
    Value->setText(QStringLiteral("All Allow"));
}

void TEditForm::ValueDblClick() {
  if (auto next = NextExUrlValue(Wide(Value->text()))) Value->setText(QText(*next));
}

void TEditForm::btnGetDomainClick() {
  Value->setText(QText(ToWide(MainDomain(ToNarrow(Wide(Value->text()))))));
}

void TEditForm::btnFullNameClick() {
  Value->setText(QText(ToWide(HostOf(ToNarrow(Wide(Value->text()))))));
}

QListWidget* TEditForm::TargetList() const {
  if (FOwnerEditor == nullptr) return nullptr;
  const int target = Tag(this);
  if (target == 1) return FOwnerEditor->LUrlMatch;
  if (target == 2) return FOwnerEditor->Ln2;
  return nullptr;
}

void TEditForm::ResultClick(QPushButton* button) {
  if (FOwnerEditor == nullptr) return;
  if (QListWidget* list = TargetList()) {
    const std::u16string kind = Wide(Box->currentText());
    const std::u16string entry = FormatEntry(EntryWidth(kind), kind, Wide(Value->text()));
    TEntryList model = TFrmScriptEditor::ListModel(list);
    ApplyBarButton(model, static_cast<TBarButton>(Tag(button)), entry);
    TFrmScriptEditor::SetListModel(list, model);
  }
  hide();
}

bool TEditForm::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate) Value->setFocus();
  return QWidget::event(e);
}

bool TEditForm::eventFilter(QObject* watched, QEvent* e) {
  if (watched == Value && e->type() == QEvent::MouseButtonDblClick) {
    ValueDblClick();
    return false;
  }
  if (watched != Panel3) return QWidget::eventFilter(watched, e);
  switch (e->type()) {
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(e);
      if (mouse->button() != Qt::LeftButton) break;
      // The window system moves the bar when it can; otherwise the bar
      // follows the pointer until the button is released.
      if (windowHandle() != nullptr && windowHandle()->startSystemMove()) return true;
      dragging_ = true;
      drag_offset_ = mouse->globalPosition().toPoint() - frameGeometry().topLeft();
      return true;
    }
    case QEvent::MouseMove:
      if (dragging_) {
        move(static_cast<QMouseEvent*>(e)->globalPosition().toPoint() - drag_offset_);
        return true;
      }
      break;
    case QEvent::MouseButtonRelease:
      if (dragging_) {
        dragging_ = false;
        return true;
      }
      break;
    default:
      break;
  }
  return QWidget::eventFilter(watched, e);
}

}  // namespace kovra
