// The questions and dialogs the main window puts to the user. They sit
// behind one interface so that tests can answer them; TDialogPrompts shows
// the real message boxes and dialogs.
#pragma once

#include <QString>
#include <QStringList>

class QFont;
class QPrinter;
class QWidget;

namespace kovra {

class TEditorPrompts {
 public:
  enum class TAnswer { kYes, kNo, kCancel };

  virtual ~TEditorPrompts() = default;

  // A question with the buttons Yes, No and Cancel; closing it is Cancel.
  virtual TAnswer Confirm(QWidget* parent, const QString& text) = 0;

  // A file error, with one OK button.
  virtual void ShowError(QWidget* parent, const QString& text) = 0;

  // The open dialog: the chosen file and whether its read-only box was
  // checked; false when cancelled.
  virtual bool ChooseOpenFile(QWidget* parent, QString* name, bool* read_only) = 0;

  // The save dialog, starting at current: the chosen name as typed and the
  // 1-based index of the chosen filter; false when cancelled.
  virtual bool ChooseSaveFile(QWidget* parent, const QString& current, QString* name,
                              int* filter_index) = 0;

  // The print dialog for printer; false when cancelled.
  virtual bool SetUpPrinter(QWidget* parent, QPrinter* printer) = 0;

  // The font dialog starting at *font; false when cancelled.
  virtual bool ChooseFont(QWidget* parent, QFont* font) = 0;
};

class TDialogPrompts final : public TEditorPrompts {
 public:
  TAnswer Confirm(QWidget* parent, const QString& text) override;
  void ShowError(QWidget* parent, const QString& text) override;
  bool ChooseOpenFile(QWidget* parent, QString* name, bool* read_only) override;
  bool ChooseSaveFile(QWidget* parent, const QString& current, QString* name,
                      int* filter_index) override;
  bool SetUpPrinter(QWidget* parent, QPrinter* printer) override;
  bool ChooseFont(QWidget* parent, QFont* font) override;
};

// The filters of the open and save dialogs, in the dialogs' form.
QStringList FileFilters();

}  // namespace kovra
