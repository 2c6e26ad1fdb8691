#include "editor/layout_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/file_services.h"
#include "common/pattern.h"
#include "config/auto_fill.h"
#include "config/configuration.h"
#include "config/layout_editing.h"
#include "editor/editor_dialogs.h"
#include "editor/editor_text.h"
#include "editor/qt_text.h"

namespace quillet {

namespace {

// True when `name` (environment references expanded) is an existing file or matches existing files.
bool namesExistingFile(const std::string& name) {
  const std::string path = Configuration::expandEnvironment(name);
  std::string found;
  if (findOnDisk(path, found)) return true;
  std::vector<std::string> files;
  return expandPattern(path, files, true);
}

// Compared as the insertion rules compare: ASCII letters case-blind, every other byte exactly.
bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

// Several files chosen at once are shown as "a" "b"; anything else is one name.
QString joinNames(const std::vector<std::string>& files) {
  if (files.size() == 1) return toQString(files.front());
  QStringList quoted;
  for (const std::string& file : files) quoted << '"' + toQString(file) + '"';
  return quoted.join(' ');
}

QRadioButton* addRadio(QButtonGroup* group, QBoxLayout* layout, const QString& label, int id,
                       const char* name) {
  auto* button = new QRadioButton(label);
  button->setObjectName(name);
  group->addButton(button, id);
  layout->addWidget(button);
  return button;
}

class CChapterDialog : public LayoutItemDialog {
 public:
  CChapterDialog(const LayoutItem& item, const LayoutItemPlace& place, EditorDialogs& dialogs,
                 QWidget* parent)
      : LayoutItemDialog("Edit Chapter", dialogs, parent), place_(place) {
    addNameField("Chapter Name", item);
    noCombine_ = new QCheckBox(tr("Do not com&bine child header files (good for C programs)"));
    noCombine_->setObjectName("noCombineHeaders");
    noCombine_->setChecked(item.noCombineHeaders());
    noCombine_->setEnabled(place.allowNoCombineHeaders);
    body()->addWidget(noCombine_);
  }
  void apply(LayoutItem& item) const override {
    item.setKind(LayoutItem::kChapter);
    if (place_.allowNoCombineHeaders) item.setNoCombineHeaders(noCombine_->isChecked());
  }

 protected:
  bool validate() override {
    if (!checkNames(false, false)) return false;
    if (place_.chapter == nullptr) return true;
    const std::string name = names().front();
    for (size_t i = 0; i < place_.chapter->childCount(); ++i) {
      const LayoutItem* sibling = place_.chapter->child(i);
      if (sibling != place_.self && sameNameIgnoringCase(sibling->name(), name)) {
        dialogs().tell(kChapterNameClashMessage);
        return false;
      }
    }
    return true;
  }

 private:
  LayoutItemPlace place_;
  QCheckBox* noCombine_;
};

class CDocumentDialog : public LayoutItemDialog {
 public:
  CDocumentDialog(const LayoutItem& item, const LayoutItemPlace& place, EditorDialogs& dialogs,
                  QWidget* parent)
      : LayoutItemDialog("External Document Edit", dialogs, parent) {
    addNameField("File name (regular expressions are allowed)", item);
    addBrowseButton(place.allowSeveralFiles);
    title_ = addLineEdit("Document title", "title");
    title_->setText(toQString(item.text()));
    linkType_ = new QButtonGroup(this);
    addRadio(linkType_, body(), tr("Insert &document (text files only)"), LayoutItem::kInsertDocument,
             "insert");
    addRadio(linkType_, body(), tr("&Link to document (non text files and graphics)"),
             LayoutItem::kLinkDocument, "link");
    preserve_ = new QCheckBox(tr("Preserve formatting"));
    copy_ = new QCheckBox(tr("Copy file to output directory"));
    preserve_->setObjectName("preserveFormatting");
    copy_->setObjectName("copyToOutput");
    body()->addWidget(preserve_);
    body()->addWidget(copy_);
    linkType_
        ->button(item.kind() == LayoutItem::kLinkDocument ? LayoutItem::kLinkDocument
                                                          : LayoutItem::kInsertDocument)
        ->setChecked(true);
    preserve_->setChecked(item.preserveFormatting());
    copy_->setChecked(item.copyToOutput());
    connect(linkType_, &QButtonGroup::idToggled, this, [this] { showLinkType(); });
    showLinkType();
  }
  void apply(LayoutItem& item) const override {
    item.setKind(linkType_->checkedId());
    item.setText(toStdString(title_->text()));
    item.setPreserveFormatting(preserve_->isChecked());
    item.setCopyToOutput(copy_->isChecked());
  }

 protected:
  bool validate() override { return checkNames(true, true); }

 private:
  // Preserving formatting concerns inserted text, copying concerns linked files.
  void showLinkType() {
    preserve_->setEnabled(linkType_->checkedId() == LayoutItem::kInsertDocument);
    copy_->setEnabled(linkType_->checkedId() == LayoutItem::kLinkDocument);
  }

  QLineEdit* title_;
  QButtonGroup* linkType_;
  QCheckBox* preserve_;
  QCheckBox* copy_;
};

class CTextDialog : public LayoutItemDialog {
 public:
  CTextDialog(const LayoutItem& item, EditorDialogs& dialogs, QWidget* parent)
      : LayoutItemDialog("Text Edit", dialogs, parent) {
    addNameField("Title", item);
    auto* label = new QLabel(tr("Imbedded Text"));
    text_ = new QPlainTextEdit;
    text_->setObjectName("text");
    text_->setPlainText(toQString(item.text()));
    body()->addWidget(label);
    body()->addWidget(text_);
  }
  void apply(LayoutItem& item) const override {
    item.setKind(LayoutItem::kText);
    item.setText(toStdString(text_->toPlainText()));
  }

 protected:
  bool validate() override { return checkNames(false, false); }

 private:
  QPlainTextEdit* text_;
};

class CSymbolDialog : public LayoutItemDialog {
 public:
  CSymbolDialog(const LayoutItem& item, EditorDialogs& dialogs, QWidget* parent)
      : LayoutItemDialog("Symbol Edit", dialogs, parent) {
    addNameField("Symbol name (regular expressions are allowed)", item);
    type_ = new QButtonGroup(this);
    addRadio(type_, body(), tr("Class, struct, or enum &name"), LayoutItem::kClassesByName, "classes");
    addRadio(type_, body(), tr("&Function name"), LayoutItem::kFunctionsByName, "functions");
    type_
        ->button(item.kind() == LayoutItem::kFunctionsByName ? LayoutItem::kFunctionsByName
                                                             : LayoutItem::kClassesByName)
        ->setChecked(true);
  }
  void apply(LayoutItem& item) const override { item.setKind(type_->checkedId()); }

 protected:
  bool validate() override { return checkNames(true, false); }

 private:
  QButtonGroup* type_;
};

class CIncludeFileDialog : public LayoutItemDialog {
 public:
  CIncludeFileDialog(const LayoutItem& item, const LayoutItemPlace& place, EditorDialogs& dialogs,
                     QWidget* parent)
      : LayoutItemDialog("Include File Edit ", dialogs, parent) {
    addNameField("Include File Name", item);
    addBrowseButton(place.allowSeveralFiles);
    comments_ = new QCheckBox(tr("Extract comment from file(s)."));
    comments_->setObjectName("extractComments");
    comments_->setChecked(!item.noHeaderComments());
    body()->addWidget(comments_);
  }
  void apply(LayoutItem& item) const override {
    item.setKind(LayoutItem::kSymbolsByFile);
    item.setNoHeaderComments(!comments_->isChecked());
  }

 protected:
  bool validate() override { return checkNames(false, true); }

 private:
  QCheckBox* comments_;
};

}  // namespace

LayoutItemDialog::LayoutItemDialog(std::string_view title, EditorDialogs& dialogs, QWidget* parent)
    : ItemDialog(title, dialogs, parent) {}

void LayoutItemDialog::addNameField(std::string_view label, const LayoutItem& item) {
  name_ = addLineEdit(label, "name");
  name_->setText(toQString(item.name()));
}

void LayoutItemDialog::addBrowseButton(bool several) {
  several_ = several;
  auto* browse = new QPushButton(tr("&Browse ..."));
  browse->setObjectName("browse");
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(browse);
  body()->addLayout(row);
  connect(browse, &QPushButton::clicked, this, [this, several] {
    std::vector<std::string> files;
    if (several) {
      files = this->dialogs().chooseOpenFiles("Choose files", text::kAnyFileFilter);
    } else if (std::string file = this->dialogs().chooseOpenFile("Choose a file", text::kAnyFileFilter);
               !file.empty()) {
      files.push_back(std::move(file));
    }
    if (!files.empty()) name_->setText(joinNames(files));
  });
}

std::vector<std::string> LayoutItemDialog::names() const {
  const QString text = name_->text().trimmed();
  if (!several_ || !text.startsWith('"')) return {toStdString(text)};
  std::vector<std::string> names;
  for (qsizetype open = text.indexOf('"'); open >= 0; open = text.indexOf('"', open)) {
    const qsizetype close = text.indexOf('"', open + 1);
    if (close < 0) {  // an unclosed quote: the rest is one name
      names.push_back(toStdString(text.mid(open + 1)));
      break;
    }
    names.push_back(toStdString(text.mid(open + 1, close - open - 1)));
    open = close + 1;
  }
  return names;
}

bool LayoutItemDialog::checkNames(bool as_pattern, bool must_exist) {
  const std::vector<std::string> given = names();
  for (const std::string& name : given) {
    if (name.empty()) {
      dialogs().tell(text::kNameRequired);
      return false;
    }
    if (as_pattern && !Pattern(name).ok()) {
      dialogs().tell(text::kIllegalName);
      return false;
    }
  }
  if (!must_exist) return true;
  for (const std::string& name : given)
    if (!namesExistingFile(name) && !dialogs().askYesNo(formatMessage(text::kItemFileNotFound, {name})))
      return false;
  return true;
}

std::unique_ptr<LayoutItemDialog> makeLayoutItemDialog(const LayoutItem& item, const LayoutItemPlace& place,
                                                       EditorDialogs& dialogs, QWidget* parent) {
  switch (item.kind()) {
    case LayoutItem::kLinkDocument:
    case LayoutItem::kInsertDocument:
      return std::make_unique<CDocumentDialog>(item, place, dialogs, parent);
    case LayoutItem::kSymbolsByFile:
      return std::make_unique<CIncludeFileDialog>(item, place, dialogs, parent);
    case LayoutItem::kClassesByName:
    case LayoutItem::kFunctionsByName:
      return std::make_unique<CSymbolDialog>(item, dialogs, parent);
    case LayoutItem::kText:
      return std::make_unique<CTextDialog>(item, dialogs, parent);
    default:
      return std::make_unique<CChapterDialog>(item, place, dialogs, parent);
  }
}

CAutoFillDialog::CAutoFillDialog(std::function<size_t(const std::string&)> fill, EditorDialogs& dialogs,
                                 QWidget* parent)
    : ItemDialog("Automatic Fill", dialogs, parent), fill_(std::move(fill)) {
  folder_ = addLineEdit("Source Code Root Directory", "folder");
  auto* browse = new QPushButton(tr("&Browse ..."));
  browse->setObjectName("browse");
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(browse);
  body()->addLayout(row);
  connect(browse, &QPushButton::clicked, this, [this] {
    const std::string folder =
        this->dialogs().chooseFolder("Source Code Root Directory", toStdString(folder_->text()));
    if (!folder.empty()) folder_->setText(toQString(folder));
  });
}

bool CAutoFillDialog::validate() {
  const std::string folder = toStdString(folder_->text().trimmed());
  if (!folder.empty() && fill_(folder) > 0) return true;
  dialogs().tell(kNoFilesFoundMessage);
  return false;
}

}  // namespace quillet
