#include "editor/html_option_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "config/style_folders.h"
#include "editor/editor_dialogs.h"
#include "editor/editor_text.h"
#include "editor/qt_text.h"
#include "editor/style_sets.h"

namespace quillet {

namespace {

struct KindInfo {
  const char* tab;
  const char* outputLabel;
  const char* allowedText;  // for the message
  std::vector<std::string> extensions;
};

const KindInfo& infoFor(OutputKind kind) {
  static const KindInfo kInfo[] = {
      {"HTML", "HTML Output file name", ".html", {".html", ".htm"}},
      {"RTF", "RTF Output file name", ".rtf", {".rtf"}},
      {"RTF Windows Help", "RTF Windows Help Output file name", ".rtf", {".rtf"}},
  };
  return kInfo[static_cast<int>(kind)];
}

std::string outputName(const Configuration& configuration, OutputKind kind) {
  switch (kind) {
    case OutputKind::kHtml:
      return configuration.htmlOutputFile();
    case OutputKind::kRtf:
      return configuration.rtfOutputFile();
    case OutputKind::kWinHelp:
      return configuration.winHelpOutputFile();
  }
  return {};
}

void setOutputName(Configuration& configuration, OutputKind kind, const std::string& name) {
  switch (kind) {
    case OutputKind::kHtml:
      return configuration.setHtmlOutputFile(name);
    case OutputKind::kRtf:
      return configuration.setRtfOutputFile(name);
    case OutputKind::kWinHelp:
      return configuration.setWinHelpOutputFile(name);
  }
}

std::string styleName(const Configuration& configuration, OutputKind kind) {
  switch (kind) {
    case OutputKind::kHtml:
      return configuration.htmlStyle();
    case OutputKind::kRtf:
      return configuration.rtfStyle();
    case OutputKind::kWinHelp:
      return configuration.winHelpStyle();
  }
  return {};
}

void setStyleName(Configuration& configuration, OutputKind kind, const std::string& name) {
  switch (kind) {
    case OutputKind::kHtml:
      return configuration.setHtmlStyle(name);
    case OutputKind::kRtf:
      return configuration.setRtfStyle(name);
    case OutputKind::kWinHelp:
      return configuration.setWinHelpStyle(name);
  }
}

// The extension of the file name part of `path`, lower-cased, with its dot; empty when there is none.
std::string lowerExtension(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string extension = path.substr(dot);
  for (char& c : extension) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return extension;
}

// True when `name` may be the output file name of `kind`: empty (no output), without an extension, or with
// one the kind allows, in any case.
bool extensionAllowed(OutputKind kind, const std::string& name) {
  const std::string extension = lowerExtension(name);
  if (extension.empty()) return true;
  for (const std::string& allowed : infoFor(kind).extensions)
    if (extension == allowed) return true;
  return false;
}

struct Colour {
  const char* name;
  uint32_t value;  // 0 for none; else bit 24 with red, green, blue in the low three bytes
};
constexpr uint32_t rgb(uint32_t red, uint32_t green, uint32_t blue) {
  return 0x1000000u | red | (green << 8) | (blue << 16);
}
constexpr Colour kColours[] = {
    {"none", 0},
    {"white", rgb(255, 255, 255)},
    {"gray", rgb(192, 192, 192)},
    {"black", rgb(0, 0, 0)},
    {"red", rgb(255, 0, 0)},
    {"green", rgb(0, 255, 0)},
    {"blue", rgb(0, 0, 255)},
};

}  // namespace

CHTMLOptionPage::CHTMLOptionPage(Configuration& configuration, EditorDialogs& dialogs)
    : ConfigPage(configuration, dialogs) {
  auto* layout = new QVBoxLayout(this);
  kinds_ = new QTabBar;
  kinds_->setObjectName("kinds");
  kinds_->setExpanding(false);
  for (OutputKind kind : {OutputKind::kHtml, OutputKind::kRtf, OutputKind::kWinHelp})
    kinds_->addTab(tr(infoFor(kind).tab));
  layout->addWidget(kinds_);

  auto* grid = new QGridLayout;
  outputLabel_ = new QLabel;
  outputLabel_->setObjectName("outputLabel");
  outputName_ = new QLineEdit;
  outputName_->setObjectName("outputName");
  outputLabel_->setBuddy(outputName_);
  grid->addWidget(outputLabel_, 0, 0, 1, 2);
  grid->addWidget(outputName_, 1, 0, 1, 2);
  grid->addWidget(new QLabel(tr("Style sheets")), 2, 0, 1, 2);
  styles_ = new QListWidget;
  styles_->setObjectName("styles");
  grid->addWidget(styles_, 3, 0, 3, 1);
  auto* explore = new QPushButton(tr("E&xplore ..."));
  explore->setObjectName("explore");
  grid->addWidget(explore, 3, 1);
  auto* note = new QLabel(tr("Press Explore to change the format of the generated output."));
  note->setWordWrap(true);
  note->setMaximumWidth(180);
  grid->addWidget(note, 4, 1, Qt::AlignTop);
  noStyles_ = new QLabel(toQString(text::kNoStyles));
  noStyles_->setObjectName("noStyles");
  noStyles_->setWordWrap(true);
  grid->addWidget(noStyles_, 6, 0, 1, 2);
  layout->addLayout(grid);

  auto* links = new QCheckBox(tr("Add links to &include files"));
  auto* short_names = new QCheckBox(tr("Output only &short file names"));
  auto* source_pages = new QCheckBox(tr("Write a source pa&ge of each documented file (HTML)"));
  links->setObjectName("linkToHeaders");
  short_names->setObjectName("shortFileNames");
  source_pages->setObjectName("htmlSourcePages");
  layout->addWidget(links);
  layout->addWidget(short_names);
  layout->addWidget(source_pages);

  auto* background = new QGridLayout;
  colour_ = new QComboBox;
  colour_->setObjectName("backgroundColour");
  auto* colour_label = new QLabel(tr("Background color:"));
  colour_label->setBuddy(colour_);
  image_ = new QLineEdit;
  image_->setObjectName("backgroundImage");
  auto* image_label = new QLabel(tr("&Background graphic file:"));
  image_label->setBuddy(image_);
  browseImage_ = new QPushButton(tr("..."));
  browseImage_->setObjectName("browseImage");
  background->addWidget(colour_label, 0, 0);
  background->addWidget(colour_, 0, 1);
  background->addWidget(image_label, 1, 0);
  background->addWidget(image_, 1, 1);
  background->addWidget(browseImage_, 1, 2);
  background->setColumnStretch(1, 1);
  layout->addLayout(background);
  layout->addStretch();
  addHelpButton(layout);

  bindCheck(links, &Configuration::linkToHeaders, &Configuration::setLinkToHeaders);
  bindCheck(short_names, &Configuration::shortFileNames, &Configuration::setShortFileNames);
  bindCheck(source_pages, &Configuration::htmlSourcePages, &Configuration::setHtmlSourcePages);
  bindText(image_, &Configuration::backgroundImage, &Configuration::setBackgroundImage);

  connect(kinds_, &QTabBar::currentChanged, this, [this] {
    if (loading()) return;
    commit();  // a refused name was already shown again as stored
    reload();
  });
  connect(outputName_, &QLineEdit::editingFinished, this, [this] { commit(); });
  connect(styles_, &QListWidget::currentTextChanged, this, [this](const QString& name) {
    if (!loading() && !name.isEmpty()) setStyleName(this->configuration(), kind(), toStdString(name));
  });
  connect(explore, &QPushButton::clicked, this, [this] { this->explore(); });
  connect(colour_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (!loading() && index >= 0)
      this->configuration().setBackgroundColour(colour_->itemData(index).toUInt());
  });
  connect(browseImage_, &QPushButton::clicked, this, [this] {
    const std::string file = this->dialogs().chooseOpenFile("Background graphic file", text::kGraphicsFilter);
    if (!file.empty()) image_->setText(toQString(file));
  });
}

OutputKind CHTMLOptionPage::kind() const {
  return shown_;
}

void CHTMLOptionPage::showKind(OutputKind kind) {
  kinds_->setCurrentIndex(static_cast<int>(kind));
}

bool CHTMLOptionPage::commit() {
  if (committing_) return true;
  const std::string name = toStdString(outputName_->text().trimmed());
  if (name == outputName(configuration(), kind())) return true;
  if (extensionAllowed(kind(), name)) {
    setOutputName(configuration(), kind(), name);
    return true;
  }
  committing_ = true;  // the message takes the focus, which must not check the name a second time
  outputName_->setText(toQString(outputName(configuration(), kind())));
  dialogs().tell(formatMessage(text::kWrongExtension, {name, infoFor(kind()).allowedText}));
  committing_ = false;
  return false;
}

void CHTMLOptionPage::reloadLists() {
  shown_ = static_cast<OutputKind>(kinds_->currentIndex() < 0 ? 0 : kinds_->currentIndex());
  outputLabel_->setText(tr(infoFor(kind()).outputLabel));
  outputName_->setText(toQString(outputName(configuration(), kind())));
  fillStyleSets();
  fillColours();
  const bool html = kind() == OutputKind::kHtml;
  colour_->setEnabled(html);
  image_->setEnabled(html);
  browseImage_->setEnabled(html);
}

void CHTMLOptionPage::fillStyleSets() {
  const std::vector<std::string> folders = styleFolders();
  std::vector<std::string> names = styleSetNames(kind(), folders);
  const std::string chosen = styleName(configuration(), kind());
  // A set the configuration names but no folder holds is still shown, so that it is not lost.
  if (std::find(names.begin(), names.end(), chosen) == names.end()) names.insert(names.begin(), chosen);
  styles_->clear();
  for (const std::string& name : names) styles_->addItem(toQString(name));
  const QList<QListWidgetItem*> found = styles_->findItems(toQString(chosen), Qt::MatchExactly);
  if (!found.isEmpty()) styles_->setCurrentItem(found.front());
  noStyles_->setVisible(!anyStyleFolderExists(folders));
}

void CHTMLOptionPage::fillColours() {
  colour_->clear();
  for (const Colour& colour : kColours) colour_->addItem(tr(colour.name), QVariant::fromValue(colour.value));
  const uint32_t stored = configuration().backgroundColour();
  int index = colour_->findData(QVariant::fromValue(stored));
  if (index < 0) {  // a colour outside the table stays as stored, shown by its value
    const QString hex = QString("#%1%2%3")
                            .arg(stored & 0xff, 2, 16, QChar('0'))
                            .arg((stored >> 8) & 0xff, 2, 16, QChar('0'))
                            .arg((stored >> 16) & 0xff, 2, 16, QChar('0'));
    colour_->addItem(hex, QVariant::fromValue(stored));
    index = colour_->count() - 1;
  }
  colour_->setCurrentIndex(index);
}

void CHTMLOptionPage::explore() {
  const std::vector<std::string> folders = styleFolders();
  const std::string folder = styleSetFolder(kind(), styleName(configuration(), kind()), folders);
  if (folder.empty()) {
    dialogs().tell(text::kNoStyles);
    return;
  }
  openOrTell(dialogs(), QUrl::fromLocalFile(toQString(folder)), "the style set folder " + folder);
}

}  // namespace quillet
