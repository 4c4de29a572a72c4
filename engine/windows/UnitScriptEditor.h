// TFrmScriptEditor: the script manager window, in which the user edits one
// entry of the script library: its name, its URL-match list, its navigation
// list (both edited through the entry bar) and its script text (in the
// highlighting memo, or structured in the header editor). "保存" updates the
// library entry and writes Scripts/NAME.ks. Closing only hides the window;
// the registry shows it again with its content.
#pragma once

#include <QWidget>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "windows/UnitScriptEditorLogic.h"

class QGroupBox;
class QListWidget;
class QPushButton;
class QSplitter;

namespace kovra {

class TEditForm;
class TksEditorFrm;
class TMyEdit;
class TMyMemo;
class TScriptLibrary;

class TFrmScriptEditor : public QWidget {
  Q_OBJECT

 public:
  explicit TFrmScriptEditor(TScriptLibrary& library);
  ~TFrmScriptEditor() override;

  // A new script for the page: a new library entry (also for a script ID no
  // entry bears), filled with the new script's content at once.
  void SetupForUrl(std::string_view url, std::string_view filter_url, uint32_t script_id);
  // The library entry at the 0-based index takes the window's content.
  void CopyToLibraryEntry(uint32_t index);
  // Copies the content into the library entry, then writes the script file.
  // A name that cannot be a file name, or a failed write, is reported in a
  // message box and answers false; the entry and the window keep the edits.
  bool SaveScript();
  // Edits the memo's text in the header editor (modal), the window hidden
  // meanwhile; the composed text comes back into the memo.
  void EditWithHeaderEditor();
  // Opens the entry bar on the clicked list's selected entry.
  void L2Click(QListWidget* list);
  void Splitter2Moved();
  void Splitter1Moved();
  // The button column: dispatches on the button's Tag.
  void btnScriptEditorClick(QPushButton* button);

  TManagerContent Content() const;
  void SetContent(const TManagerContent& content);
  std::vector<std::u16string> ScriptLines() const;
  void SetScriptLines(const std::vector<std::u16string>& lines);
  static TEntryList ListModel(const QListWidget* list);
  static void SetListModel(QListWidget* list, const TEntryList& model);
  // The heights of the URL-match group, the navigation group and the script
  // area.
  TGroupHeights GroupHeights() const;
  void SetGroupHeights(const TGroupHeights& heights);

  uint32_t FScriptID = 0;
  TEditForm* FEditForm;
  TMyMemo* FScriptMemo;
  TksEditorFrm* FHeaderEditor;

  QGroupBox* GBname;
  TMyEdit* EdName;
  QGroupBox* GBurlMatch;
  QListWidget* LUrlMatch;
  QGroupBox* GBn2;
  QListWidget* Ln2;
  QSplitter* Splitters;  // its handles are Splitter2 and Splitter1
  QWidget* Panel1;
  QGroupBox* GBscript;
  QListWidget* KeywordList;

 protected:
  void changeEvent(QEvent* e) override;

 private:
  void ReportSaveFailure(const std::string& reason);

  TScriptLibrary& library_;
};

}  // namespace kovra
