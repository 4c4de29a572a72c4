#include "windows/UnitFormUrlFilterMsgWindow.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdlib>
#include <string>

#include "library/CoordinationController.h"
#include "library/UnitTScriptLibrary.h"
#include "platform/CodePage.h"
#include "windows/GuiApplication.h"
#include "windows/UnitTMyEdit.h"
#include "windows/WindowLook.h"

namespace kovra {
namespace {

// A panel with a lowered outer and a raised inner bevel: an etched box.
QFrame* Bevelled(QWidget* parent, const char* name) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(QString::fromLatin1(name));
  panel->setFrameStyle(QFrame::Box | QFrame::Sunken);
  panel->setLineWidth(1);
  panel->setAutoFillBackground(true);
  return panel;
}

// An address row: a captioned grey panel at the left, the edit beside it.
TMyEdit* AddressRow(QWidget* parent, QVBoxLayout* column, const char* row_name,
                    const char* caption_name, std::u16string_view caption, const char* edit_name) {
  QFrame* row = Bevelled(parent, row_name);
  row->setFixedHeight(24);
  QPalette grey = row->palette();
  grey.setColor(QPalette::Window, BarGrey());
  row->setPalette(grey);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(1, 1, 1, 1);
  layout->setSpacing(0);
  auto* label = new QLabel(QText(caption), row);
  label->setObjectName(QString::fromLatin1(caption_name));
  label->setFixedWidth(112);
  label->setAlignment(Qt::AlignCenter);
  label->setFrameStyle(QFrame::Panel | QFrame::Raised);
  label->setAutoFillBackground(true);
  QPalette face = label->palette();
  face.setColor(QPalette::Window, face.color(QPalette::Button));
  label->setPalette(face);
  auto* edit = new TMyEdit(row);
  edit->setObjectName(QString::fromLatin1(edit_name));
  edit->setAlign(TMyEdit::alClient);
  edit->setFocusPolicy(Qt::ClickFocus);  // no tab stop
  layout->addWidget(label);
  layout->addWidget(edit, 1);
  column->addWidget(row);
  return edit;
}

std::string Narrow(const QString& text) {
  return ToNarrow(text.toStdU16String());
}

}  // namespace

TFormUrlFilterMsg::TFormUrlFilterMsg(TScriptLibrary& library, TEditorRegistry& editors)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint),
      library_(library),
      editors_(editors) {
  setObjectName(QStringLiteral("FormUrlFilterMsg"));
  setWindowTitle(QText(kInterceptCaption));
  setAttribute(Qt::WA_QuitOnClose, false);
  setFont(FormFont());
  QPalette face = palette();
  face.setColor(QPalette::Window, face.color(QPalette::Button));
  setPalette(face);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  QFrame* panel1 = Bevelled(this, "Panel1");
  panel1->setFixedHeight(93);
  column->addWidget(panel1);
  auto button = [&](const char* name, std::u16string_view caption, QRect place, int result) {
    auto* b = new QPushButton(QText(caption), panel1);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(place);
    SetTag(b, result);
    return b;
  };
  btnOk = button("btnOk", kAllowCaption, QRect(296, 7, 177, 41), kModalAllow);
  btnCancel = button("btnCancel", kBlockCaption, QRect(27, 7, 169, 41), kModalBlock);
  btnSetFilters = button("btnSetFilters", kSetFiltersCaption, QRect(736, 7, 281, 41), kModalBlock);
  MyEdit3 = new TMyEdit(panel1);
  MyEdit3->setObjectName(QStringLiteral("MyEdit3"));
  MyEdit3->setGeometry(8, 56, 1009, 21);
  MyEdit3->setReadOnly(true);
  MyEdit3->setFrame(false);
  MyEdit3->setText(QText(InterceptNotice()));
  MyEdit3->setCursorPosition(0);
  QFont bold = FormFont();
  bold.setBold(true);
  MyEdit3->setFont(bold);
  QPalette notice = MyEdit3->palette();
  notice.setColor(QPalette::Base, notice.color(QPalette::Button));
  notice.setColor(QPalette::Text, Qt::blue);
  MyEdit3->setPalette(notice);
  btnAddToBlackList =
      button("btnAddToBlackList", kAddToBlackListCaption, QRect(528, 7, 177, 41), kModalBlock);
  btnAddToBlackList->setFont(bold);
  setTabOrder(btnOk, btnCancel);
  setTabOrder(btnCancel, btnSetFilters);
  setTabOrder(btnSetFilters, MyEdit3);
  setTabOrder(MyEdit3, btnAddToBlackList);

  EdSrc = AddressRow(this, column, "Panel2", "Panel4", kSourceCaption, "EdSrc");
  EdSrc->setReadOnly(true);
  EdBreak = AddressRow(this, column, "Panel3", "Panel5", kTargetCaption, "EdBreak");

  connect(btnOk, &QPushButton::clicked, this, [this] { done(kModalAllow); });
  connect(btnCancel, &QPushButton::clicked, this, [this] { done(kModalBlock); });
  connect(btnAddToBlackList, &QPushButton::clicked, this, [this] {
    btnAddToBlackListClick();
    done(kModalBlock);
  });
  connect(btnSetFilters, &QPushButton::clicked, this, [this] {
    btnSetFiltersClick();
    done(kModalBlock);
  });

  resize(1027, 141);
  remembered_height_ = 141;
  setFixedHeight(remembered_height_);
  setMinimumWidth(200);
  btnOk->setFocus();
}

void TFormUrlFilterMsg::btnAddToBlackListClick() {
  std::string error;
  if (library_.AddToBlackList(Narrow(EdBreak->text()), &error)) return;
  QMessageBox box(QMessageBox::Warning, QText(kInterceptCaption),
                  QStringLiteral("The black list file was not written: %1.\nThe host stays on the "
                                 "black list until the engine is unloaded.")
                      .arg(QString::fromStdU16String(ToWide(error))),
                  QMessageBox::Ok, this);
  box.setObjectName(QStringLiteral("BlackListFailure"));
  box.exec();
}

void TFormUrlFilterMsg::btnSetFiltersClick() {
  editors_.OpenEditorForUrl(Narrow(EdSrc->text()), Narrow(EdBreak->text()), ScriptId);
}

void TFormUrlFilterMsg::reject() {
  done(kModalBlock);
}

void TFormUrlFilterMsg::resizeEvent(QResizeEvent* e) {
  QDialog::resizeEvent(e);
  if (e->size().height() != remembered_height_) resize(e->size().width(), remembered_height_);
}

int32_t ShowInterceptDialog(TScriptLibrary& library, TEditorRegistry& editors,
                            const TInterceptQuestion& question) {
  if (!GuiReady()) return 0;
  TFormUrlFilterMsg dialog(library, editors);
  dialog.EdSrc->setText(QString::fromStdU16String(ToWide(question.source)));
  dialog.EdBreak->setText(QString::fromStdU16String(ToWide(question.target)));
  dialog.EdSrc->setCursorPosition(0);
  dialog.EdBreak->setCursorPosition(0);
  dialog.ScriptId = question.script_id;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    dialog.move(screen->availableGeometry().center() -
                QPoint(dialog.width() / 2, dialog.height() / 2));
  }
  if (const char* answer = std::getenv("KOVRA_TEST_DIALOG_ANSWER");
      answer != nullptr && *answer != '\0') {
    const QString name = QString::fromLocal8Bit(answer);
    QTimer::singleShot(0, &dialog, [&dialog, name] {
      auto* b = dialog.findChild<QPushButton*>(name);
      if (b != nullptr) {
        b->click();
      } else {
        dialog.close();  // "close", and any name that is no button
      }
    });
  }
  return dialog.exec();
}

}  // namespace kovra
