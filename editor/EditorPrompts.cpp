#include "EditorPrompts.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace kovra {

QStringList FileFilters() {
  return {QStringLiteral("Rich Text Files (*.RTF)"), QStringLiteral("Text Files (*.TXT)")};
}

TEditorPrompts::TAnswer TDialogPrompts::Confirm(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), text,
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
  box.setEscapeButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return TAnswer::kYes;
    case QMessageBox::No:
      return TAnswer::kNo;
    default:
      return TAnswer::kCancel;
  }
}

void TDialogPrompts::ShowError(QWidget* parent, const QString& text) {
  QMessageBox::critical(parent, QStringLiteral("Error"), text);
}

bool TDialogPrompts::ChooseOpenFile(QWidget* parent, QString* name, bool* read_only) {
  // The platform dialogs offer no read-only box: Qt's own dialog gets one.
  QFileDialog dialog(parent, QStringLiteral("Open"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(FileFilters());
  auto* read_only_box = new QCheckBox(QStringLiteral("Open as &read-only"), &dialog);
  read_only_box->setObjectName(QStringLiteral("ReadOnly"));
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
    grid->addWidget(read_only_box, grid->rowCount(), 0, 1, grid->columnCount());
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  *name = dialog.selectedFiles().first();
  *read_only = read_only_box->isChecked();
  return true;
}

bool TDialogPrompts::ChooseSaveFile(QWidget* parent, const QString& current, QString* name,
                                    int* filter_index) {
  QFileDialog dialog(parent, QStringLiteral("Save As"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  // The window asks its own overwrite question for the name it will write.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setNameFilters(FileFilters());
  if (QFileInfo(current).isAbsolute()) dialog.selectFile(current);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  *name = dialog.selectedFiles().first();
  *filter_index = static_cast<int>(FileFilters().indexOf(dialog.selectedNameFilter())) + 1;
  if (*filter_index < 1) *filter_index = 1;
  return true;
}

bool TDialogPrompts::SetUpPrinter(QWidget* parent, QPrinter* printer) {
  QPrintDialog dialog(printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

bool TDialogPrompts::ChooseFont(QWidget* parent, QFont* font) {
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, *font, parent);
  if (ok) *font = chosen;
  return ok;
}

}  // namespace kovra
