#include "remain.h"

#include <QActionGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPrinter>
#include <QSaveFile>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QToolBar>
#include <QVBoxLayout>

#include "EditorIcons.h"
#include "EditorPrompts.h"
#include "EditorText.h"
#include "RtfReader.h"
#include "RtfWriter.h"
#include "Ruler.h"
#include "UnitScriptForm.h"
#include "platform/CodePage.h"
#include "reabout.h"

namespace kovra {
namespace {

constexpr int kWidth = 908;
constexpr int kHeight = 612;
// The text area's inset from the editor's left and right edges.
constexpr int kGutter = 6;

// The first local file among the dropped items; empty when there is none.
QString DroppedFile(const QMimeData* source) {
  if (source == nullptr || !source->hasUrls()) return {};
  for (const QUrl& url : source->urls()) {
    if (url.isLocalFile()) return url.toLocalFile();
  }
  return {};
}

std::u16string_view View(const QString& s) {
  return {reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size())};
}

}  // namespace

bool TRichEditor::canInsertFromMimeData(const QMimeData* source) const {
  return !DroppedFile(source).isEmpty() || QTextEdit::canInsertFromMimeData(source);
}

void TRichEditor::insertFromMimeData(const QMimeData* source) {
  const QString file = DroppedFile(source);
  if (!file.isEmpty()) {
    emit FileDropped(file);
    return;
  }
  QTextEdit::insertFromMimeData(source);
}

TMainForm::TMainForm(TEditorPrompts* prompts, QWidget* parent) : QMainWindow(parent) {
  if (prompts == nullptr) {
    own_prompts_ = std::make_unique<TDialogPrompts>();
    prompts = own_prompts_.get();
  }
  prompts_ = prompts;
  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(QStringLiteral("Kovra Edit v1.0"));
  setWindowIcon(ProgramIcon());
  resize(kWidth, kHeight);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - QRect(QPoint(), size()).center());
  }

  editor_ = new TRichEditor(this);
  editor_->setObjectName(QStringLiteral("Editor"));
  editor_->setFont(DefaultEditorFont());
  editor_->document()->setDefaultFont(DefaultEditorFont());
  editor_->setLineWrapMode(QTextEdit::WidgetWidth);
  editor_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  editor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  InstallIndentOnEnter(editor_);

  ruler_ = new TRuler(this);
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(ruler_);
  layout->addWidget(editor_, 1);
  setCentralWidget(central);

  CreateActions();
  CreateToolBar();
  CreateStatusBar();

  connect(editor_, &QTextEdit::cursorPositionChanged, this, &TMainForm::SelectionChange);
  connect(editor_, &QTextEdit::currentCharFormatChanged, this, &TMainForm::SelectionChange);
  connect(editor_, &QTextEdit::selectionChanged, this, &TMainForm::UpdateEditActions);
  connect(editor_, &QTextEdit::copyAvailable, this, &TMainForm::UpdateEditActions);
  connect(editor_, &QTextEdit::undoAvailable, this, &TMainForm::UpdateEditActions);
  connect(editor_->document(), &QTextDocument::modificationChanged, this, [this](bool modified) {
    panel_modified_->setText(modified ? QStringLiteral("Modified") : QString());
  });
  connect(editor_, &TRichEditor::FileDropped, this, &TMainForm::OpenDroppedFile);
  connect(editor_->horizontalScrollBar(), &QScrollBar::valueChanged, this, &TMainForm::UpdateRuler);
  connect(ruler_, &TRuler::IndentsChanged, this, &TMainForm::ApplyIndents);
  if (QClipboard* clipboard = QGuiApplication::clipboard()) {
    connect(clipboard, &QClipboard::dataChanged, this, &TMainForm::UpdateEditActions);
  }

  ResetDocument();
  SetFileName(QString::fromLatin1(kUntitled));
  SelectionChange();
  UpdateEditActions();
}

TMainForm::~TMainForm() = default;

QAction* TMainForm::NewAction(const QString& text, const QString& name, const QString& tip,
                              const QKeySequence& shortcut) {
  auto* action = new QAction(text, this);
  action->setObjectName(name);
  action->setStatusTip(tip);
  action->setToolTip(QString(text).remove(u'&').remove(QStringLiteral("...")));
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  return action;
}

void TMainForm::CreateActions() {
  new_ = NewAction(QStringLiteral("&New"), QStringLiteral("FileNewItem"),
                   QStringLiteral("Create a new file"), QKeySequence(Qt::CTRL | Qt::Key_N));
  open_ = NewAction(QStringLiteral("&Open..."), QStringLiteral("FileOpenItem"),
                    QStringLiteral("Open an existing file"), QKeySequence(Qt::CTRL | Qt::Key_O));
  save_ = NewAction(QStringLiteral("&Save"), QStringLiteral("FileSaveItem"),
                    QStringLiteral("Save the current file"), QKeySequence(Qt::CTRL | Qt::Key_S));
  save_as_ = NewAction(QStringLiteral("Save &As..."), QStringLiteral("FileSaveAsItem"),
                       QStringLiteral("Save the current file under a new name"));
  print_ = NewAction(QStringLiteral("&Print"), QStringLiteral("FilePrintItem"),
                     QStringLiteral("Print the current file"), QKeySequence(Qt::CTRL | Qt::Key_P));
  exit_ = NewAction(QStringLiteral("E&xit"), QStringLiteral("FileExitItem"),
                    QStringLiteral("Quit the editor"), QKeySequence(Qt::ALT | Qt::Key_X));
  word_wrap_ = NewAction(QStringLiteral("Word Wrap"), QStringLiteral("WordWap1"),
                         QStringLiteral("Wrap lines at the window's edge"));
  word_wrap_->setCheckable(true);
  word_wrap_->setChecked(true);
  undo_ = NewAction(QStringLiteral("&Undo"), QStringLiteral("EditUndoItem"),
                    QStringLiteral("Undo the last change"), QKeySequence(Qt::CTRL | Qt::Key_Z));
  cut_ = NewAction(QStringLiteral("Cu&t"), QStringLiteral("EditCutItem"),
                   QStringLiteral("Move the selection to the clipboard"),
                   QKeySequence(Qt::CTRL | Qt::Key_X));
  copy_ = NewAction(QStringLiteral("&Copy"), QStringLiteral("EditCopyItem"),
                    QStringLiteral("Copy the selection to the clipboard"),
                    QKeySequence(Qt::CTRL | Qt::Key_C));
  paste_ = NewAction(QStringLiteral("&Paste"), QStringLiteral("EditPasteItem"),
                     QStringLiteral("Insert the clipboard's content"),
                     QKeySequence(Qt::CTRL | Qt::Key_V));
  font_ = NewAction(QStringLiteral("&Font..."), QStringLiteral("EditFontItem"),
                    QStringLiteral("Choose the font of the selection"));
  with_selection_ = NewAction(QStringLiteral("with Selection..."), QStringLiteral("withSelection1"),
                              QStringLiteral("Run a script over the selected text"));
  with_selection_->setProperty("Tag", 1);
  with_all_ = NewAction(QStringLiteral("with All text..."), QStringLiteral("withAlltext1"),
                        QStringLiteral("Run a script over the whole text"));
  with_all_->setProperty("Tag", 0);
  about_ = NewAction(QStringLiteral("&About..."), QStringLiteral("HelpAboutItem"),
                     QStringLiteral("Show the program's version and the memory"));

  new_->setIcon(ToolIcon(TToolIcon::kNew));
  open_->setIcon(ToolIcon(TToolIcon::kOpen));
  save_->setIcon(ToolIcon(TToolIcon::kSave));
  print_->setIcon(ToolIcon(TToolIcon::kPrint));
  cut_->setIcon(ToolIcon(TToolIcon::kCut));
  copy_->setIcon(ToolIcon(TToolIcon::kCopy));
  paste_->setIcon(ToolIcon(TToolIcon::kPaste));
  undo_->setIcon(ToolIcon(TToolIcon::kUndo));

  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu"));
  QMenu* file = bar->addMenu(QStringLiteral("&File"));
  file->setObjectName(QStringLiteral("FileMenu"));
  file->addAction(new_);
  file->addAction(open_);
  file->addAction(save_);
  file->addAction(save_as_);
  file->addSeparator();
  file->addAction(print_);
  file->addSeparator();
  file->addAction(exit_);
  QMenu* view = bar->addMenu(QStringLiteral("View"));
  view->setObjectName(QStringLiteral("View1"));
  view->addAction(word_wrap_);
  QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
  edit->setObjectName(QStringLiteral("EditMenu"));
  edit->addAction(undo_);
  edit->addSeparator();
  edit->addAction(cut_);
  edit->addAction(copy_);
  edit->addAction(paste_);
  edit->addSeparator();
  edit->addAction(font_);
  QMenu* script = bar->addMenu(QStringLiteral("Script"));
  script->setObjectName(QStringLiteral("Script1"));
  script->addAction(with_selection_);
  script->addAction(with_all_);
  QMenu* help = bar->addMenu(QStringLiteral("&Help"));
  help->setObjectName(QStringLiteral("HelpMenu"));
  help->addAction(about_);

  connect(new_, &QAction::triggered, this, &TMainForm::FileNew);
  connect(open_, &QAction::triggered, this, &TMainForm::FileOpen);
  connect(save_, &QAction::triggered, this, [this] { FileSave(); });
  connect(save_as_, &QAction::triggered, this, [this] { FileSaveAs(); });
  connect(print_, &QAction::triggered, this, &TMainForm::FilePrint);
  connect(exit_, &QAction::triggered, this, &QWidget::close);
  connect(word_wrap_, &QAction::toggled, this, [this](bool on) {
    editor_->setLineWrapMode(on ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    UpdateRuler();
  });
  connect(undo_, &QAction::triggered, editor_, &QTextEdit::undo);
  connect(cut_, &QAction::triggered, editor_, &QTextEdit::cut);
  connect(copy_, &QAction::triggered, editor_, &QTextEdit::copy);
  connect(paste_, &QAction::triggered, editor_, &QTextEdit::paste);
  connect(font_, &QAction::triggered, this, &TMainForm::EditFont);
  for (QAction* item : {with_selection_, with_all_}) {
    connect(item, &QAction::triggered, this,
            [this, item] { ScriptClick(item->property("Tag").toInt()); });
  }
  connect(about_, &QAction::triggered, this, &TMainForm::ShowAbout);
}

void TMainForm::CreateToolBar() {
  QToolBar* bar = addToolBar(QStringLiteral("Tools"));
  bar->setObjectName(QStringLiteral("StandardToolBar"));
  bar->setMovable(false);
  bar->setIconSize(QSize(16, 16));
  bar->addAction(new_);
  bar->addAction(open_);
  bar->addAction(save_);
  bar->addAction(print_);
  bar->addSeparator();
  bar->addAction(cut_);
  bar->addAction(copy_);
  bar->addAction(paste_);
  bar->addAction(undo_);
  bar->addSeparator();

  font_name_ = new QFontComboBox(bar);
  font_name_->setObjectName(QStringLiteral("FontName"));
  font_name_->setStatusTip(QStringLiteral("Font name"));
  font_name_->setToolTip(QStringLiteral("Font name"));
  font_name_->setMinimumWidth(160);
  font_name_->setMaxVisibleItems(16);
  bar->addWidget(font_name_);
  font_size_ = new QSpinBox(bar);
  font_size_->setObjectName(QStringLiteral("FontSize"));
  font_size_->setStatusTip(QStringLiteral("Font size"));
  font_size_->setToolTip(QStringLiteral("Font size"));
  font_size_->setRange(1, 1638);
  font_size_->setKeyboardTracking(false);
  bar->addWidget(font_size_);
  bar->addSeparator();

  const auto toggle = [this](const QString& text, const QString& name, TToolIcon icon) {
    QAction* action = NewAction(text, name, text);
    action->setIcon(ToolIcon(icon));
    action->setCheckable(true);
    return action;
  };
  bold_ = toggle(QStringLiteral("Bold"), QStringLiteral("BoldButton"), TToolIcon::kBold);
  italic_ = toggle(QStringLiteral("Italic"), QStringLiteral("ItalicButton"), TToolIcon::kItalic);
  underline_ =
      toggle(QStringLiteral("Underline"), QStringLiteral("UnderlineButton"), TToolIcon::kUnderline);
  align_left_ =
      toggle(QStringLiteral("Align left"), QStringLiteral("LeftAlign"), TToolIcon::kAlignLeft);
  align_center_ =
      toggle(QStringLiteral("Centre"), QStringLiteral("CenterAlign"), TToolIcon::kAlignCenter);
  align_right_ =
      toggle(QStringLiteral("Align right"), QStringLiteral("RightAlign"), TToolIcon::kAlignRight);
  bullets_ =
      toggle(QStringLiteral("Bullets"), QStringLiteral("BulletsButton"), TToolIcon::kBullets);
  auto* alignment = new QActionGroup(this);
  alignment->addAction(align_left_);
  alignment->addAction(align_center_);
  alignment->addAction(align_right_);
  bar->addAction(bold_);
  bar->addAction(italic_);
  bar->addAction(underline_);
  bar->addSeparator();
  bar->addAction(align_left_);
  bar->addAction(align_center_);
  bar->addAction(align_right_);
  bar->addSeparator();
  bar->addAction(bullets_);

  connect(font_name_, &QComboBox::textActivated, this, [this](const QString& family) {
    if (updating_ || family.isEmpty()) return;
    QTextCharFormat f;
    f.setFontFamilies(QStringList{family});
    MergeFormat(f);
    editor_->setFocus();
  });
  connect(font_size_, &QSpinBox::valueChanged, this, [this](int size) {
    if (updating_) return;
    QTextCharFormat f;
    f.setFontPointSize(size);
    MergeFormat(f);
  });
  connect(bold_, &QAction::triggered, this, [this](bool on) {
    QTextCharFormat f;
    f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    MergeFormat(f);
  });
  connect(italic_, &QAction::triggered, this, [this](bool on) {
    QTextCharFormat f;
    f.setFontItalic(on);
    MergeFormat(f);
  });
  connect(underline_, &QAction::triggered, this, [this](bool on) {
    QTextCharFormat f;
    f.setFontUnderline(on);
    MergeFormat(f);
  });
  connect(align_left_, &QAction::triggered, this, [this] { editor_->setAlignment(Qt::AlignLeft); });
  connect(align_center_, &QAction::triggered, this,
          [this] { editor_->setAlignment(Qt::AlignHCenter); });
  connect(align_right_, &QAction::triggered, this,
          [this] { editor_->setAlignment(Qt::AlignRight); });
  connect(bullets_, &QAction::triggered, this, &TMainForm::SetBullets);
}

void TMainForm::CreateStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("StatusBar"));
  const auto panel = [bar](const QString& name, int width, Qt::Alignment align) {
    auto* label = new QLabel(bar);
    label->setObjectName(name);
    label->setFixedWidth(width);
    label->setAlignment(align | Qt::AlignVCenter);
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    bar->addWidget(label);
    return label;
  };
  panel_position_ = panel(QStringLiteral("Panel1"), 120, Qt::AlignLeft);
  panel_modified_ = panel(QStringLiteral("Panel2"), 60, Qt::AlignHCenter);
  panel_spare_ = panel(QStringLiteral("Panel3"), 50, Qt::AlignLeft);
}

void TMainForm::SetFileName(const QString& name) {
  file_name_ = name;
  setWindowTitle(
      QStringLiteral("%1 - %2").arg(QFileInfo(name).fileName(), QLatin1String(kAppTitle)));
}

// Settings a fresh document needs: the text inset and the bullet indent.
// Setting them is no edit of the user's: it leaves no undo step behind.
void TMainForm::ResetDocument() {
  QTextDocument* doc = editor_->document();
  if (doc->documentMargin() == kGutter && doc->indentWidth() == kBulletIndentPixels) return;
  const bool modified = doc->isModified();
  doc->setUndoRedoEnabled(false);
  doc->setIndentWidth(kBulletIndentPixels);
  doc->setDocumentMargin(kGutter);
  doc->setUndoRedoEnabled(true);
  doc->setModified(modified);
}

bool TMainForm::CheckFileSave() {
  if (!editor_->document()->isModified()) return true;
  switch (prompts_->Confirm(this, QStringLiteral("Save changes to %1?").arg(file_name_))) {
    case TEditorPrompts::TAnswer::kYes:
      // A save that did not happen (cancelled or failed) keeps the text.
      return FileSave();
    case TEditorPrompts::TAnswer::kNo:
      return true;
    case TEditorPrompts::TAnswer::kCancel:
      break;
  }
  return false;
}

void TMainForm::FileNew() {
  if (!CheckFileSave()) return;
  editor_->clear();
  editor_->setReadOnly(false);
  ResetDocument();
  SetFileName(QString::fromLatin1(kUntitled));
  editor_->document()->setModified(false);
  SelectionChange();
  UpdateEditActions();
}

void TMainForm::FileOpen() {
  if (!CheckFileSave()) return;
  QString name;
  bool read_only = false;
  if (!prompts_->ChooseOpenFile(this, &name, &read_only)) return;
  OpenFile(name, read_only);
}

void TMainForm::OpenDroppedFile(const QString& path) {
  if (!CheckFileSave()) return;
  OpenFile(path, false);
}

bool TMainForm::OpenFile(const QString& path, bool read_only) {
  QFile file(path);
  QByteArray bytes;
  if (file.open(QIODevice::ReadOnly)) bytes = file.readAll();
  if (!file.isOpen() || file.error() != QFileDevice::NoError) {
    prompts_->ShowError(this, QStringLiteral("Cannot open file \"%1\". %2")
                                  .arg(QDir::toNativeSeparators(path), file.errorString()));
    return false;
  }
  QTextDocument* doc = editor_->document();
  if (LooksLikeRtf(bytes)) {
    ReadRtf(bytes, doc);
  } else {
    const std::u16string text =
        ToWide(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    doc->setUndoRedoEnabled(false);
    doc->setPlainText(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
    doc->setUndoRedoEnabled(true);
  }
  ResetDocument();
  editor_->setReadOnly(read_only);
  editor_->setTextCursor(QTextCursor(doc));
  SetFileName(path);
  doc->setModified(false);
  SelectionChange();
  UpdateEditActions();
  return true;
}

// Plain text for the extension ".txt" exactly, rich text for any other name.
bool TMainForm::WriteFile(const QString& path) {
  const QTextDocument& doc = *editor_->document();
  QByteArray bytes;
  if (QFileInfo(path).suffix() == QLatin1String("txt")) {
    const std::string text = ToNarrow(View(DocumentText(doc)));
    bytes = QByteArray(text.data(), static_cast<qsizetype>(text.size()));
  } else {
    bytes = WriteRtf(doc);
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    prompts_->ShowError(this, QStringLiteral("Cannot create file \"%1\". %2")
                                  .arg(QDir::toNativeSeparators(path), file.errorString()));
    return false;
  }
  editor_->document()->setModified(false);
  return true;
}

bool TMainForm::FileSave() {
  if (file_name_ == QLatin1String(kUntitled)) return FileSaveAs();
  return WriteFile(file_name_);
}

bool TMainForm::FileSaveAs() {
  QString chosen;
  int filter = 1;
  if (!prompts_->ChooseSaveFile(this, file_name_, &chosen, &filter) || chosen.isEmpty())
    return false;
  // The chosen filter's extension is added, unless the name ends with it
  // already (in any letter case).
  const QString extension = filter == 2 ? QStringLiteral(".txt") : QStringLiteral(".RTF");
  QString target = chosen;
  if (!target.endsWith(extension, Qt::CaseInsensitive)) target += extension;
  if (QFileInfo::exists(target) &&
      prompts_->Confirm(this, QStringLiteral("OK to overwrite %1").arg(target)) !=
          TEditorPrompts::TAnswer::kYes) {
    return false;
  }
  if (!WriteFile(target)) return false;
  SetFileName(target);
  return true;
}

void TMainForm::FilePrint() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(file_name_);
  if (!prompts_->SetUpPrinter(this, &printer)) return;
  editor_->print(&printer);
}

void TMainForm::ShowAbout() {
  TAboutBox box(this);
  box.exec();
}

void TMainForm::EditFont() {
  QFont font = editor_->currentCharFormat().font().resolve(editor_->document()->defaultFont());
  if (!prompts_->ChooseFont(this, &font)) return;
  QTextCharFormat f;
  f.setFont(font);
  MergeFormat(f);
}

void TMainForm::MergeFormat(const QTextCharFormat& format) {
  editor_->mergeCurrentCharFormat(format);
  SelectionChange();
}

void TMainForm::SetBullets(bool on) {
  QTextCursor cursor = editor_->textCursor();
  cursor.beginEditBlock();
  if (on) {
    if (cursor.currentList() == nullptr) {
      QTextListFormat list;
      list.setStyle(QTextListFormat::ListDisc);
      list.setIndent(1);
      cursor.createList(list);
    }
  } else {
    const QTextBlock last = editor_->document()->findBlock(cursor.selectionEnd());
    for (QTextBlock block = editor_->document()->findBlock(cursor.selectionStart());
         block.isValid(); block = block.next()) {
      if (QTextList* list = block.textList()) {
        list->remove(block);
        QTextBlockFormat format = block.blockFormat();
        format.setIndent(0);
        QTextCursor(block).setBlockFormat(format);
      }
      if (block == last) break;
    }
  }
  cursor.endEditBlock();
  SelectionChange();
}

void TMainForm::ApplyIndents(int first, int left, int right) {
  QTextCursor cursor = editor_->textCursor();
  const int list_indent = cursor.currentList() != nullptr
                              ? cursor.currentList()->format().indent() * kBulletIndentPixels
                              : 0;
  QTextBlockFormat format;
  format.setLeftMargin(std::max(0, left - list_indent));
  format.setTextIndent(first - left);
  format.setRightMargin(std::max(0, right));
  cursor.mergeBlockFormat(format);
  SelectionChange();
}

void TMainForm::UpdateRuler() {
  const QTextDocument* doc = editor_->document();
  const int margin = static_cast<int>(doc->documentMargin());
  const QWidget* viewport = editor_->viewport();
  const int origin = editor_->geometry().x() - ruler_->geometry().x() + viewport->geometry().x() +
                     margin - editor_->horizontalScrollBar()->value();
  ruler_->SetTextArea(origin, origin + viewport->width() - 2 * margin);

  const QTextCursor cursor = editor_->textCursor();
  const QTextBlockFormat format = cursor.blockFormat();
  int left = static_cast<int>(format.leftMargin()) +
             format.indent() * static_cast<int>(doc->indentWidth());
  if (const QTextList* list = cursor.currentList())
    left += list->format().indent() * static_cast<int>(doc->indentWidth());
  ruler_->SetIndents(left + static_cast<int>(format.textIndent()), left,
                     static_cast<int>(format.rightMargin()));
}

void TMainForm::SelectionChange() {
  updating_ = true;
  const QFont font =
      editor_->currentCharFormat().font().resolve(editor_->document()->defaultFont());
  font_name_->setCurrentFont(QFont(font.family()));
  const qreal points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 0.75;
  font_size_->setValue(qRound(points));
  bold_->setChecked(font.bold());
  italic_->setChecked(font.italic());
  underline_->setChecked(font.underline());
  const Qt::Alignment align = editor_->alignment() & Qt::AlignHorizontal_Mask;
  if (align & Qt::AlignRight) {
    align_right_->setChecked(true);
  } else if (align & Qt::AlignHCenter) {
    align_center_->setChecked(true);
  } else {
    align_left_->setChecked(true);
  }
  const QTextCursor cursor = editor_->textCursor();
  bullets_->setChecked(cursor.currentList() != nullptr);
  UpdateRuler();
  panel_position_->setText(QString::asprintf("Line: %3d   Col: %3d", cursor.blockNumber() + 1,
                                             cursor.positionInBlock() + 1));
  updating_ = false;
}

void TMainForm::UpdateEditActions() {
  const bool writable = !editor_->isReadOnly();
  const bool selected = editor_->textCursor().hasSelection();
  cut_->setEnabled(selected && writable);
  copy_->setEnabled(selected);
  undo_->setEnabled(writable && editor_->document()->isUndoAvailable());
  paste_->setEnabled(writable && editor_->canPaste());
}

void TMainForm::ScriptClick(int tag) {
  if (script_form_ == nullptr || script_shown_) return;
  QTextDocument* doc = editor_->document();
  const bool was_modified = doc->isModified();
  QTextCursor selection = editor_->textCursor();
  if (selection.hasSelection()) {
    QTextCharFormat red;
    red.setForeground(QColor(Qt::red));
    selection.mergeCharFormat(red);
  }
  script_form_->setProperty("Tag", tag);
  script_shown_ = true;
  const int answer = script_form_->exec();
  script_shown_ = false;

  QTextCursor all(doc);
  all.select(QTextCursor::Document);
  QTextCharFormat black;
  black.setForeground(QColor(Qt::black));
  all.mergeCharFormat(black);
  editor_->setTextCursor(QTextCursor(doc));
  // The colouring is the window's marking, not an edit of the user's.
  if (answer != QDialog::Accepted) doc->setModified(was_modified);
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if ((script_form_ != nullptr && script_form_->IsRunning()) || !CheckFileSave()) {
    event->ignore();
    return;
  }
  event->accept();
}

void TMainForm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  ResetDocument();
  UpdateRuler();
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  UpdateRuler();
}

}  // namespace kovra
